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

// The lengths of the sides, in 64 bits: the distance between two 32-bit coordinates may
// not fit in 32.
inline std::int64_t Width(const PixelRect& r) {
    return std::int64_t{r.right} - r.left;
}
inline std::int64_t Height(const PixelRect& r) {
    return std::int64_t{r.bottom} - r.top;
}

inline bool IsEmpty(const PixelRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// True when the two rectangles share at least one pixel; an empty or inverted rectangle
// shares none.
inline bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return !IsEmpty(a) && !IsEmpty(b) && a.left < b.right && b.left < a.right && a.top < b.bottom &&
           b.top < a.bottom;
}

}  // namespace tetrakon
