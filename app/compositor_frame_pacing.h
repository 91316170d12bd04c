#pragma once

#include <QPointer>
#include <QWindow>

namespace tetrakon {

// Frame steps paced by the compositor where it says when it takes the next frame. On
// Wayland a window that presented asks for an update (QWindow::requestUpdate), which Qt
// delivers as QEvent::UpdateRequest once the compositor's frame callback for that frame
// has come; until then no frame step runs, so the swap never waits and no frame is drawn
// that the compositor would not show. Each step still draws one frame, so an animation
// takes as many frames as elsewhere. On other platforms every idle pass may step.
class CompositorFramePacing {
  public:
    // Enabled where update requests follow the compositor's frame callbacks (Wayland).
    explicit CompositorFramePacing(bool enabled) : enabled_(enabled) {}

    // False while `target` still waits for the compositor to take its last frame.
    bool ReadyForStep(const QWindow* target) const;
    // A frame step presented into `target`: the next waits for its update request.
    void FramePresented(QWindow* target);
    // `window` may present again: its update request came, or it was exposed anew.
    void WindowReady(const QWindow* window);

  private:
    bool enabled_;
    QPointer<QWindow> waiting_;
};

}  // namespace tetrakon
