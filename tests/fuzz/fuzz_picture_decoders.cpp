// Feeds arbitrary bytes to the picture decoders (JPEG or PNG, told apart by their first
// bytes as in the program), then scales what decodes down to a small picture.

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfxutil/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Smaller than the program's limits, so that a header claiming a large picture costs
    // milliseconds rather than seconds.
    const tetrakon::PictureLimits limits{2048, 1024 * 1024};
    const std::span<const std::uint8_t> bytes(data, size);
    tetrakon::Picture picture;
    if (tetrakon::Failed(tetrakon::DecodePicture(bytes, limits, &picture))) {
        return 0;
    }
    tetrakon::Picture scaled;
    tetrakon::ScalePictureToFit(picture, 17, 9, &scaled);
    return 0;
}
