#pragma once

#include <QPointer>
#include <QWindow>
#include <chrono>

namespace tetrakon {

// Frame steps paced by the compositor where it says when it takes the next frame. On
// Wayland a window that presented asks for an update (QWindow::requestUpdate), which Qt
// delivers as QEvent::UpdateRequest once the compositor's frame callback for that frame
// has come; until then no frame step runs, so the swap never waits and no frame is drawn
// that the compositor would not show. A compositor owes no callback for a surface it does
// not show (a covered, minimised or not yet mapped one), so the wait ends after
// kLongestWait all the same: a frame that changes the window's size or content always
// gets presented. Each step still draws one frame, so an animation takes as many frames
// as elsewhere. On other platforms every idle pass may step.
class CompositorFramePacing {
  public:
    using Clock = std::chrono::steady_clock;
    // Six frames of a 60 Hz screen; Qt's own Wayland platform gives up on a frame callback
    // after 100 ms too.
    static constexpr std::chrono::milliseconds kLongestWait{100};

    // Enabled where update requests follow the compositor's frame callbacks (Wayland).
    explicit CompositorFramePacing(bool enabled) : enabled_(enabled) {}

    // False while `target` still waits, no longer than kLongestWait, for the compositor
    // to take its last frame.
    bool ReadyForStep(const QWindow* target, Clock::time_point now = Clock::now()) const;
    // A frame step presented into `target`: the next waits for its update request.
    void FramePresented(QWindow* target, Clock::time_point now = Clock::now());
    // `window` may present again: its update request came, or it was exposed anew.
    void WindowReady(const QWindow* window);

  private:
    bool enabled_;
    QPointer<QWindow> waiting_;
    Clock::time_point waitingSince_;
};

}  // namespace tetrakon
