#pragma once

#include <chrono>

namespace tetrakon {

// Every rule the shell applies to decide whether an idle pass steps a frame and whether a
// presented frame must be followed by another. The game itself draws a frame only when
// what it shows changed (GameView::DrawFrame), and the device swaps only into a window on
// screen (gfx::ShowsOnScreen); docs/ARCHITECTURE.md ("When a frame is shown") lists all
// of them with what they exist for. Windows are named by their address only, so the rules
// need no Qt.
class FrameGate {
  public:
    using Clock = std::chrono::steady_clock;
    // Qt's Wayland platform (6.4) also gives up on a frame callback after 100 ms.
    static constexpr std::chrono::milliseconds kLongestCompositorWait{100};

    // `compositorPaced`: the window system says when it takes the next frame (Wayland).
    explicit FrameGate(bool compositorPaced) : compositorPaced_(compositorPaced) {}

    // Whether an idle pass steps a frame presenting into `target`:
    // - never while the main window is minimised or the view is not active;
    // - on Wayland, not while `target` still waits for the compositor to take its last frame
    //   (Qt delivers the frame callback as an update request), and never longer than
    //   kLongestCompositorWait: a compositor owes no callback for a surface it does not
    //   show, and a frame that changes the window must still reach it.
    bool MayStep(bool minimised, bool viewActive, const void* target,
                 Clock::time_point now = Clock::now()) const;

    // A frame step presented into `target`, whose size in pixels is `width` x `height`
    // and which was on screen (`shown`). Answers whether one more frame must be drawn: Mesa
    // (22.3, Wayland EGL; GLX likewise) keeps the size a window had before its next swap,
    // so the first swap at a new size can still show a buffer of the old one. One more
    // frame, once the size is new, leaves a buffer of the real size on screen. On Wayland
    // the next step then waits for the compositor (see MayStep); the caller asks for the
    // update that ends the wait.
    bool Presented(const void* target, int width, int height, bool shown,
                   Clock::time_point now = Clock::now());

    // `window` may present again at once: its update request came, or it was exposed or
    // resized anew.
    void WindowReady(const void* window);

  private:
    bool compositorPaced_;
    const void* waiting_ = nullptr;
    Clock::time_point waitingSince_;
    int presentedWidth_ = 0;
    int presentedHeight_ = 0;
};

}  // namespace tetrakon
