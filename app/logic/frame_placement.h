#pragma once

#include <cstdint>

#include "app/logic/pixel_rect.h"

namespace tetrakon {

// The platform's show command for a window shown restored (neither minimised nor
// maximised).
constexpr std::int32_t kShowRestore = 9;

// The smallest the main frame may be made on each side, border and caption included.
constexpr std::int32_t kMinimumTrackingSize = 200;

// The main frame's placement, as the settings read and set it.
class FramePlacement {
  public:
    virtual ~FramePlacement() = default;

    // The rectangle the frame has when neither minimised nor maximised, and its current
    // show command (the platform's numbers: 1 normal, 2 minimised, 3 maximised). Where the
    // window system does not tell where a window is (Wayland), `normalRect` keeps its left
    // and top and takes only the frame's size.
    virtual void GetPlacement(PixelRect* normalRect, std::int32_t* showCommand) const = 0;
    // Shows the frame restored at `normalRect`.
    virtual void SetPlacementRestored(const PixelRect& normalRect) = 0;
};

}  // namespace tetrakon
