#include "platform/gfx/rgba_bytes.h"

namespace tetrakon::gfx {

void ArgbToRgbaBytes(const std::uint32_t* words, std::size_t count, std::uint8_t* bytes) {
    for (std::size_t i = 0; i < count; ++i, bytes += 4) {
        const std::uint32_t argb = words[i];
        bytes[0] = static_cast<std::uint8_t>(argb >> 16);
        bytes[1] = static_cast<std::uint8_t>(argb >> 8);
        bytes[2] = static_cast<std::uint8_t>(argb);
        bytes[3] = static_cast<std::uint8_t>(argb >> 24);
    }
}

void RgbaBytesToArgb(const std::uint8_t* bytes, std::size_t count, std::uint32_t* words) {
    for (std::size_t i = 0; i < count; ++i, bytes += 4) {
        words[i] = std::uint32_t{bytes[3]} << 24 | std::uint32_t{bytes[0]} << 16 |
                   std::uint32_t{bytes[1]} << 8 | bytes[2];
    }
}

}  // namespace tetrakon::gfx
