#pragma once

#include <QPointer>
#include <QWindow>

#include "platform/gfx/window.h"

namespace tetrakon::gfx {

// A host's QWindow as the display layer sees it. The QWindow stays the host's; this
// only refers to it and notices when it is destroyed.
class QtWindow : public Window {
  public:
    // Makes `window` an opaque OpenGL surface when it has no native window yet; a window
    // that already has one must have been made an OpenGL surface by its owner.
    explicit QtWindow(QWindow* window);

    QWindow* window() const { return window_.data(); }

    Rect GetWindowRect() const override;
    // In device pixels; the outer rectangle is in the screen's own (logical) pixels.
    Rect GetClientRect() const override;
    void MoveAndShow(const Rect& bounds) override;
    // Qt cannot confine the pointer to a window. The request is kept (cursorClipped) but
    // has no effect; in this program it is only made for a window that fills the screen.
    void ClipCursor(bool clip) override;
    void RequestClose() override;

    bool cursorClipped() const { return cursorClipped_; }

  private:
    QPointer<QWindow> window_;
    bool cursorClipped_ = false;
};

// Whether what is presented into `window` can reach the screen. A window embedded in
// another shows while it is visible and its top-level window is exposed: Qt's Wayland
// platform (6.4) does not always send an expose event to a sub-surface (in a plain start
// with the start-up picture the view's never came), so its own flag can stay false.
bool ShowsOnScreen(const QWindow& window);

// The QWindow behind a display-layer window; null when it is not a QtWindow or its
// QWindow is gone.
QWindow* QWindowOf(Window* window);

}  // namespace tetrakon::gfx
