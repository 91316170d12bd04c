#pragma once

#include <cstdint>

namespace tetrakon {

// A window or screen rectangle in pixels; right and bottom lie just outside it.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

// True when the two rectangles share at least one pixel.
inline bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace tetrakon
