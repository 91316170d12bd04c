#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/logic/pixel_rect.h"

namespace tetrakon {

// One screen: all of it, and the part windows may take (without task bars and docks).
struct ScreenArea {
    PixelRect whole;
    PixelRect available;
};

// Where a window asked to be at `wanted` opens: on the screen that holds most of it, grown
// to at least `minimumSize` on each side, no larger than that screen's available area and
// moved onto it. Nothing when no screen holds any of it. Any 32-bit sides are safe.
std::optional<PixelRect> FitToScreens(const PixelRect& wanted, std::span<const ScreenArea> screens,
                                      std::int32_t minimumSize);

// Whether a window at `rect` fits the screen that holds most of it: no wider and no taller
// than that screen (it may hang over its edges). False when no screen holds any of it;
// true when no screens are listed.
bool FitsItsScreen(const PixelRect& rect, std::span<const ScreenArea> screens);

}  // namespace tetrakon
