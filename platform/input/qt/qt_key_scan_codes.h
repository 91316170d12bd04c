#pragma once

#include <cstdint>

class QKeyEvent;

namespace tetrakon::input {

// The set-1 scan code of a key event, 0 when it has none. The native scan code (the X or
// Wayland keycode, a Linux key code plus 8) names the physical key whatever the layout;
// events without one (made by programs) are known by their Qt key.
std::uint8_t ScanCodeOf(const QKeyEvent& event);

}  // namespace tetrakon::input
