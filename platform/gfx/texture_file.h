#pragma once

#include <memory>
#include <string>

#include "platform/gfx/device.h"

namespace tetrakon::gfx {

// Reads a picture file (JPEG and PNG here, further formats through the decoder plugged in
// with SetExtraPictureDecoder) into a new texture of `device` with its full mipmap chain. A
// picture larger than the device's largest texture is scaled down to fit. On failure
// *out is null and the result is negative: E_FILE_NOT_FOUND for a file that cannot be
// opened, E_FAIL for one that is not a readable picture, E_OUTOFMEMORY for one too large to
// hold, or the device's own code.
Result LoadTextureFromFile(Device* device, const std::string& path, std::unique_ptr<Texture>* out);

}  // namespace tetrakon::gfx
