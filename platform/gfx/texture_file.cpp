#include "platform/gfx/texture_file.h"

#include <algorithm>
#include <utility>

#include "gfxutil/picture.h"
#include "gfxutil/picture_source.h"

namespace tetrakon::gfx {

namespace {

// The most pixels a picture may have, 16 Mpixel (4096 x 4096). While it goes to the device
// it is held twice: decoded (4 bytes a pixel) and as the device's texture with its mipmaps
// (4 x 4/3 bytes a pixel), about 150 MiB at this size, which keeps a start with the largest
// picture under 300 MB. Larger pictures are refused, except JPEGs, which libjpeg decodes
// scaled down to fit.
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{16} * 1024 * 1024;
// A JPEG is decoded no larger than this a side, nor larger than the device's largest texture.
constexpr std::uint32_t kJpegFitSide = 4096;

std::uint32_t FitSide(std::uint32_t deviceMax) {
    return deviceMax == 0 ? kJpegFitSide : std::min(kJpegFitSide, deviceMax);
}

}  // namespace

Result LoadTextureFromFile(Device* device, const std::string& path, std::unique_ptr<Texture>* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    out->reset();
    if (device == nullptr) {
        return E_INVALIDARG;
    }
    DeviceCaps caps;
    const Result capsRead = device->GetDeviceCaps(&caps);
    if (Failed(capsRead)) {
        return capsRead;
    }
    Picture picture;
    {
        PictureFile file;
        const Result opened = file.Open(path);
        if (Failed(opened)) {
            return opened;
        }
        PictureLimits limits;
        limits.maxPixels = kMaxPicturePixels;
        limits.jpegFitWidth = FitSide(caps.maxTextureWidth);
        limits.jpegFitHeight = FitSide(caps.maxTextureHeight);
        const Result decoded = DecodePicture(file, limits, &picture);
        if (Failed(decoded)) {
            return decoded;
        }
    }
    if ((caps.maxTextureWidth != 0 && picture.width > caps.maxTextureWidth) ||
        (caps.maxTextureHeight != 0 && picture.height > caps.maxTextureHeight)) {
        Picture scaled;
        const Result scaledDown =
            ScalePictureToFit(picture, caps.maxTextureWidth, caps.maxTextureHeight, &scaled);
        if (Failed(scaledDown)) {
            return scaledDown;
        }
        picture = std::move(scaled);
    }

    std::unique_ptr<Texture> texture;
    const Result created =
        device->CreateTexture(picture.width, picture.height, picture.pixels.data(), &texture);
    if (Failed(created)) {
        return created;
    }
    if (texture == nullptr) {
        return E_FAIL;
    }
    *out = std::move(texture);
    return S_OK;
}

}  // namespace tetrakon::gfx
