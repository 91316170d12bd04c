#pragma once

#include <vector>

#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// The display format of a screen's colour depth: X8R8G8B8 for 24 and 32 bits, R5G6B5
// for 16, X1R5G5B5 for 15, A2R10G10B10 for 30; Unknown otherwise.
Format DisplayFormatForDepth(int depth);

// The modes the screens are in, one per distinct mode, in screen order. Qt cannot change
// a screen's mode, so these are the only modes there are.
std::vector<DisplayMode> ScreenModes();

// The primary screen's mode; a zero mode when there is no screen.
DisplayMode DesktopMode();

// The display format a device with these present parameters shows on: the desktop's
// when windowed; in full screen, that of a screen mode with the back buffer's size and
// channel depth. Unknown when there is none.
Format PresentationDisplayFormat(const PresentParameters& params);

}  // namespace tetrakon::gfx
