#pragma once

#include <memory>
#include <string>

#include "platform/gfx/device.h"

namespace tetrakon::gfx {

// Reads a picture file (JPEG and PNG here, further formats through the decoder plugged in
// with SetExtraPictureDecoder) into a new texture of `device` with its full mipmap chain.
// Only a regular file is read, and only as far as its decoder needs. A JPEG is decoded no
// larger than the device's largest texture or 4096 a side; any other picture larger than
// the device's largest texture is scaled down to fit, and one beyond 16 Mpixel is refused.
// On failure *out is null and the result is negative: E_FILE_NOT_FOUND for a path that
// cannot be opened or is not a regular file, E_FAIL for one that is not a readable picture,
// E_OUTOFMEMORY for one too large, or the device's own code.
Result LoadTextureFromFile(Device* device, const std::string& path, std::unique_ptr<Texture>* out);

}  // namespace tetrakon::gfx
