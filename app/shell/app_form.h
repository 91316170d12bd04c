#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/logic/frame_gate.h"
#include "app/shell/window_system.h"
#include "game/game_view.h"

class QWindow;

namespace tetrakon {

namespace gfx {
class QtWindow;
}
class FullscreenWindow;

// The 3-D view: the form that fills the main window below its menu, and at the same time
// the game's RenderApp. Its drawing surface is a QWindow embedded in the form; in full
// screen the display presents into the separate full-screen window instead.
class CAppForm : public QWidget, public GameView {
  public:
    explicit CAppForm(QWidget* mainFrame);
    ~CAppForm() override;

    // The first update: makes the full-screen window, hands both windows to the framework
    // and starts the display and the scene.
    void OnInitialUpdate();

    // One idle pass: the full-screen check and one frame step, when the frame gate allows
    // one. Answers whether a frame step ran.
    bool IdlePass();

    // Called after each frame step that put a frame on screen.
    void SetFramePresentedHook(std::function<void()> hook) { framePresented_ = std::move(hook); }

    // The menu commands the view serves, and their enabling rules.
    void OnCommand(int commandId);
    bool IsCommandEnabled(int commandId) const;

    Result ApplyWindowStyle() override;

    QWindow* surface() const { return surface_; }
    FullscreenWindow* fullscreenWindow() const { return fullscreen_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    GameServices MakeServices();
    // The message that reaches the view rotation for a mouse event of a drawing window.
    void ForwardToViewRotation(QWindow* window, QEvent* event);
    void CloseMainFrame();
    // The window the display presents into now.
    QWindow* PresentingWindow() const;

    QWidget* mainFrame_;
    QWindow* surface_;  // owned by its container widget
    std::unique_ptr<FullscreenWindow> fullscreen_;
    std::unique_ptr<gfx::QtWindow> surfaceAdapter_;
    std::unique_ptr<gfx::QtWindow> fullscreenAdapter_;
    FrameGate frameGate_{OnWayland()};
    std::function<void()> framePresented_;
};

}  // namespace tetrakon
