#include "app/logic/window_fit.h"

#include <algorithm>

namespace tetrakon {

namespace {

// The pixels two rectangles share; unsigned, so that no two 32-bit rectangles overflow it.
std::uint64_t SharedPixels(const PixelRect& a, const PixelRect& b) {
    if (!Overlaps(a, b)) {
        return 0;
    }
    const std::int64_t width = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const std::int64_t height = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
}

struct Span {
    std::int64_t start;
    std::int64_t length;
};

// One side of the fit: at least `minimum` long, no longer than the area, inside it.
Span FitSpan(std::int32_t start, std::int32_t end, std::int32_t areaStart, std::int32_t areaEnd,
             std::int32_t minimum) {
    const std::int64_t areaLength = std::int64_t{areaEnd} - areaStart;
    const std::int64_t length = std::max<std::int64_t>(
        0, std::min(std::max<std::int64_t>(std::int64_t{end} - start, minimum), areaLength));
    return {std::clamp<std::int64_t>(start, areaStart, areaEnd - length), length};
}

// The screen that holds most of `rect`; null when none holds any of it.
const ScreenArea* ScreenHoldingMost(const PixelRect& rect, std::span<const ScreenArea> screens) {
    const ScreenArea* best = nullptr;
    std::uint64_t bestShared = 0;
    for (const ScreenArea& screen : screens) {
        const std::uint64_t shared = SharedPixels(rect, screen.whole);
        if (shared > bestShared) {
            best = &screen;
            bestShared = shared;
        }
    }
    return best;
}

}  // namespace

std::optional<PixelRect> FitToScreens(const PixelRect& wanted, std::span<const ScreenArea> screens,
                                      std::int32_t minimumSize) {
    const ScreenArea* best = ScreenHoldingMost(wanted, screens);
    if (best == nullptr) {
        return std::nullopt;
    }
    const PixelRect& area = IsEmpty(best->available) ? best->whole : best->available;
    const Span x = FitSpan(wanted.left, wanted.right, area.left, area.right, minimumSize);
    const Span y = FitSpan(wanted.top, wanted.bottom, area.top, area.bottom, minimumSize);
    // Inside the area, so every side fits in 32 bits again.
    return PixelRect{static_cast<std::int32_t>(x.start), static_cast<std::int32_t>(y.start),
                     static_cast<std::int32_t>(x.start + x.length),
                     static_cast<std::int32_t>(y.start + y.length)};
}

bool FitsItsScreen(const PixelRect& rect, std::span<const ScreenArea> screens) {
    if (screens.empty()) {
        return true;
    }
    const ScreenArea* screen = ScreenHoldingMost(rect, screens);
    return screen != nullptr && Width(rect) <= Width(screen->whole) &&
           Height(rect) <= Height(screen->whole);
}

}  // namespace tetrakon
