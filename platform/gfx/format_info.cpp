#include "platform/gfx/format_info.h"

namespace tetrakon::gfx {

std::uint32_t ColorChannelBits(Format format) {
    switch (format) {
        case Format::A2B10G10R10:
        case Format::A2R10G10B10:
            return 10;
        case Format::R8G8B8:
        case Format::A8R8G8B8:
        case Format::X8R8G8B8:
            return 8;
        case Format::R5G6B5:
        case Format::X1R5G5B5:
        case Format::A1R5G5B5:
            return 5;
        case Format::A4R4G4B4:
        case Format::X4R4G4B4:
            return 4;
        case Format::R3G3B2:
        case Format::A8R3G3B2:
            return 2;
        default:
            return 0;
    }
}

std::uint32_t AlphaChannelBits(Format format) {
    switch (format) {
        case Format::A8R8G8B8:
        case Format::A8R3G3B2:
            return 8;
        case Format::A4R4G4B4:
            return 4;
        case Format::A2B10G10R10:
        case Format::A2R10G10B10:
            return 2;
        case Format::A1R5G5B5:
            return 1;
        default:
            return 0;
    }
}

std::uint32_t DepthBits(Format format) {
    switch (format) {
        case Format::D16:
            return 16;
        case Format::D15S1:
            return 15;
        case Format::D24X8:
        case Format::D24S8:
        case Format::D24X4S4:
            return 24;
        case Format::D32:
            return 32;
        default:
            return 0;
    }
}

std::uint32_t StencilBits(Format format) {
    switch (format) {
        case Format::D15S1:
            return 1;
        case Format::D24S8:
            return 8;
        case Format::D24X4S4:
            return 4;
        default:
            return 0;
    }
}

}  // namespace tetrakon::gfx
