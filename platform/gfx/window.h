#pragma once

#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// A window the host created: the framework presents into it, moves it and may ask it
// to close, but never creates or destroys one.
class Window {
  public:
    virtual ~Window() = default;

    // Outer rectangle in screen coordinates.
    virtual Rect GetWindowRect() const = 0;
    // Client rectangle: left and top are 0.
    virtual Rect GetClientRect() const = 0;
    // Moves and sizes the window to an outer rectangle (not topmost) and shows it.
    virtual void MoveAndShow(const Rect& bounds) = 0;
    // Confines the cursor to the window's outer rectangle, or releases any confinement.
    virtual void ClipCursor(bool clip) = 0;
    // A synchronous close request, handled before this returns.
    virtual void RequestClose() = 0;
};

}  // namespace tetrakon::gfx
