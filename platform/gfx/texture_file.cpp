#include "platform/gfx/texture_file.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <vector>

#include "gfxutil/picture.h"

namespace tetrakon::gfx {

namespace {

// No picture within the decoders' limits needs a larger file (a 64 Mpixel BMP with
// 32-bit pixels is 256 MiB); anything beyond is refused before it is read.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{512} * 1024 * 1024;

// Only regular files are read: a folder is not a picture, and a pipe or device could
// block or never end.
Result ReadWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return E_FILE_NOT_FOUND;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return E_FILE_NOT_FOUND;
    }
    if (size > kMaxFileBytes) {
        return E_OUTOFMEMORY;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return E_FILE_NOT_FOUND;
    }
    try {
        bytes->resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size))) {
        return E_FAIL;
    }
    return S_OK;
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
    Picture picture;
    {
        std::vector<std::uint8_t> bytes;
        const Result read = ReadWholeFile(path, &bytes);
        if (Failed(read)) {
            return read;
        }
        const Result decoded = DecodePicture(bytes, PictureLimits{}, &picture);
        if (Failed(decoded)) {
            return decoded;
        }
    }

    DeviceCaps caps;
    const Result capsRead = device->GetDeviceCaps(&caps);
    if (Failed(capsRead)) {
        return capsRead;
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
