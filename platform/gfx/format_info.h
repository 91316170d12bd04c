#pragma once

#include <cstdint>

#include "platform/gfx/gfx_types.h"

namespace tetrakon::gfx {

// Bits per colour channel of a display or back-buffer format (0 for any other format).
std::uint32_t ColorChannelBits(Format format);
// Alpha bits of a colour format (0 for any other format).
std::uint32_t AlphaChannelBits(Format format);
// Depth and stencil bits of a depth/stencil format (0 for any other format).
std::uint32_t DepthBits(Format format);
std::uint32_t StencilBits(Format format);

}  // namespace tetrakon::gfx
