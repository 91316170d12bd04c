#include <algorithm>
#include <new>
#include <vector>

#include "gfxutil/picture.h"

namespace tetrakon {

namespace {

// The source range [first, last) that result position i of `to` covers out of `from`
// (from >= to): at least one source position, each shared edge position counted in both
// neighbours.
struct Span {
    std::uint32_t first, last;
};

Span Covered(std::uint32_t i, std::uint32_t from, std::uint32_t to) {
    const std::uint64_t begin = std::uint64_t{i} * from / to;
    const std::uint64_t end = (std::uint64_t{i + 1} * from + to - 1) / to;
    return {static_cast<std::uint32_t>(begin),
            static_cast<std::uint32_t>(std::max(end, begin + 1))};
}

std::uint32_t AverageOf(const Picture& source, Span columns, Span rows) {
    std::uint64_t sum[4] = {};
    for (std::uint32_t y = rows.first; y < rows.last; ++y) {
        const std::uint32_t* row = source.pixels.data() + std::size_t{y} * source.width;
        for (std::uint32_t x = columns.first; x < columns.last; ++x) {
            for (int channel = 0; channel < 4; ++channel) {
                sum[channel] += (row[x] >> (8 * channel)) & 0xFF;
            }
        }
    }
    const std::uint64_t count =
        std::uint64_t{rows.last - rows.first} * (columns.last - columns.first);
    std::uint32_t pixel = 0;
    for (int channel = 0; channel < 4; ++channel) {
        pixel |= static_cast<std::uint32_t>((sum[channel] + count / 2) / count) << (8 * channel);
    }
    return pixel;
}

}  // namespace

Result ScalePictureToFit(const Picture& source, std::uint32_t maxWidth, std::uint32_t maxHeight,
                         Picture* out) {
    if (out == nullptr || &source == out ||
        source.pixels.size() != std::size_t{source.width} * source.height) {
        return E_INVALIDARG;
    }
    const std::uint32_t width = maxWidth == 0 ? source.width : std::min(source.width, maxWidth);
    const std::uint32_t height =
        maxHeight == 0 ? source.height : std::min(source.height, maxHeight);
    // The source passed the decoder's limits; the result is no larger.
    const PictureLimits noLimits{UINT32_MAX, UINT64_MAX};
    if (width == source.width && height == source.height) {
        try {
            *out = source;
        } catch (const std::bad_alloc&) {
            *out = Picture{};
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    std::vector<Span> columns;
    try {
        columns.resize(width);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (std::uint32_t x = 0; x < width; ++x) {
        columns[x] = Covered(x, source.width, width);
    }
    const Result allocated = AllocatePicture(width, height, noLimits, out);
    if (Failed(allocated)) {
        return allocated;
    }
    for (std::uint32_t y = 0; y < height; ++y) {
        const Span rows = Covered(y, source.height, height);
        std::uint32_t* target = out->pixels.data() + std::size_t{y} * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            target[x] = AverageOf(source, columns[x], rows);
        }
    }
    return S_OK;
}

}  // namespace tetrakon
