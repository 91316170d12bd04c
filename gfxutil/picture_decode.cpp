#include <algorithm>
#include <array>
#include <new>

#include "gfxutil/picture.h"

namespace tetrakon {

namespace {

PictureDecoder extraDecoder = nullptr;

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

bool LooksLikeJpeg(std::span<const std::uint8_t> bytes) {
    // Start of image followed by the first marker.
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool LooksLikePng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kPngSignature.size() &&
           std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin());
}

void SetExtraPictureDecoder(PictureDecoder decoder) {
    extraDecoder = decoder;
}

Result DecodePicture(PictureSource& source, const PictureLimits& limits, Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    std::array<std::uint8_t, kPngSignature.size()> head{};
    const std::span<const std::uint8_t> first(head.data(), source.ReadAt(0, head));
    if (LooksLikeJpeg(first)) {
        return DecodeJpeg(source, limits, out);
    }
    if (LooksLikePng(first)) {
        return DecodePng(source, limits, out);
    }
    if (extraDecoder == nullptr || first.empty()) {
        return E_FAIL;
    }
    const Result result = extraDecoder(source, limits, out);
    if (Failed(result)) {
        *out = Picture{};
    }
    return result;
}

Result DecodePicture(std::span<const std::uint8_t> bytes, const PictureLimits& limits,
                     Picture* out) {
    MemoryPictureSource source(bytes);
    return DecodePicture(source, limits, out);
}

Result AllocatePicture(std::uint32_t width, std::uint32_t height, const PictureLimits& limits,
                       Picture* out) noexcept {
    if (!limits.Allows(width, height)) {
        return E_OUTOFMEMORY;
    }
    try {
        // Two 32-bit sides multiply without overflow in 64 bits; max_size guards a
        // 32-bit size_t.
        const std::uint64_t count = std::uint64_t{width} * height;
        if (count > out->pixels.max_size()) {
            return E_OUTOFMEMORY;
        }
        out->pixels.assign(static_cast<std::size_t>(count), 0u);
    } catch (const std::bad_alloc&) {
        *out = Picture{};
        return E_OUTOFMEMORY;
    }
    out->width = width;
    out->height = height;
    return S_OK;
}

}  // namespace tetrakon
