#pragma once

// Decoded pictures and the decoders that make them: JPEG (libjpeg) and PNG (libpng) here,
// recognised by their first bytes, and one further decoder that the program may plug in
// for every other format (the Qt shell plugs in Qt's image readers, so that this library
// stays free of Qt). Decoders read their source as they go: a header that claims too much
// is refused before the rest of the file is read.

#include <cstdint>
#include <span>
#include <vector>

#include "gfxutil/picture_source.h"
#include "gfxutil/result.h"

namespace tetrakon {

// A decoded picture: 32-bit 0xAARRGGBB pixels, rows top to bottom, no padding.
struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

// The largest picture a decoder delivers. A header that claims more is refused before any
// pixel memory is allocated. The defaults allow 16384 pixels a side and 64 Mpixel in all
// (256 MiB of pixels), more than any texture a display device takes.
struct PictureLimits {
    std::uint32_t maxSide = 16384;
    std::uint64_t maxPixels = std::uint64_t{64} * 1024 * 1024;
    // A JPEG wider or higher than this is decoded scaled down by libjpeg (by 7/8 to 1/8)
    // until it fits or the scale is 1/8; the limits above then apply to what comes out.
    // 0: no limit on that side.
    std::uint32_t jpegFitWidth = 0;
    std::uint32_t jpegFitHeight = 0;

    bool Allows(std::uint64_t width, std::uint64_t height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
               width * height <= maxPixels;
    }
};

// Every decoder answers S_OK with *out filled, E_FAIL for bytes that are not a readable
// picture of its format, and E_OUTOFMEMORY for a picture beyond the limits or too large
// to hold. *out is left empty on failure.
using PictureDecoder = Result (*)(PictureSource& source, const PictureLimits& limits, Picture* out);

bool LooksLikeJpeg(std::span<const std::uint8_t> bytes);
bool LooksLikePng(std::span<const std::uint8_t> bytes);

Result DecodeJpeg(PictureSource& source, const PictureLimits& limits, Picture* out);
Result DecodePng(PictureSource& source, const PictureLimits& limits, Picture* out);

// Plugs in the decoder for every format that is neither JPEG nor PNG; null unplugs it.
// Set once at start-up, before any picture is decoded.
void SetExtraPictureDecoder(PictureDecoder decoder);

// Decodes JPEG or PNG by their content, anything else with the extra decoder (E_FAIL when
// none is plugged in).
Result DecodePicture(PictureSource& source, const PictureLimits& limits, Picture* out);
Result DecodePicture(std::span<const std::uint8_t> bytes, const PictureLimits& limits,
                     Picture* out);

// Reserves room for width x height pixels after checking them against the limits. Shared
// by the decoders: E_OUTOFMEMORY beyond the limits or when the memory is not there.
Result AllocatePicture(std::uint32_t width, std::uint32_t height, const PictureLimits& limits,
                       Picture* out) noexcept;

// Scales a picture down so that it is at most maxWidth x maxHeight (0: no limit on that
// side); a picture that fits is copied unchanged. Each side is clamped on its own, without
// keeping the aspect ratio: the picture is stretched over its target anyway, so this keeps
// the most detail. Each result pixel is the average of the source pixels it covers.
Result ScalePictureToFit(const Picture& source, std::uint32_t maxWidth, std::uint32_t maxHeight,
                         Picture* out);

}  // namespace tetrakon
