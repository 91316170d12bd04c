#pragma once

#include <cstdint>
#include <span>

#include "gfxutil/picture.h"

namespace tetrakon {

// Decodes any format Qt's image readers know (BMP, GIF, ICO, PPM and others, by content).
// The size the header claims is checked against the limits before the pixels are read,
// and Qt's own allocation limit is set to match.
Result DecodePictureWithQt(std::span<const std::uint8_t> bytes, const PictureLimits& limits,
                           Picture* out);

// Plugs DecodePictureWithQt in as the extra decoder of DecodePicture. Called once at
// start-up.
void InstallQtPictureDecoder();

}  // namespace tetrakon
