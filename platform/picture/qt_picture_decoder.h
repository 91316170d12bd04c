#pragma once

#include <cstdint>

#include "gfxutil/picture.h"

namespace tetrakon {

// Decodes any format Qt's image readers know (BMP, GIF, ICO, PPM and others, by content),
// reading the source only as far as the reader needs. The size the header claims is
// checked against the limits before the pixels are read, and Qt's own allocation limit is
// set to match. A file larger than 8 bytes for each pixel the limits allow is refused
// unread: no format needs that much for a picture within them. The decoded image is copied
// into the picture row by row, so that the pixels are held at most twice while decoding.
Result DecodePictureWithQt(PictureSource& source, const PictureLimits& limits, Picture* out);

// Plugs DecodePictureWithQt in as the extra decoder of DecodePicture. Called once at
// start-up.
void InstallQtPictureDecoder();

}  // namespace tetrakon
