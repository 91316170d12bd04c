#include "platform/picture/qt_picture_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <limits>

namespace tetrakon {

namespace {

// Qt's allocation limit is in MiB, for the decoded image at 32 bits a pixel.
int AllocationLimitMiB(const PictureLimits& limits) {
    const std::uint64_t bytes = limits.maxPixels * 4;
    const std::uint64_t mib = (bytes + (1u << 20) - 1) >> 20;
    return static_cast<int>(std::min<std::uint64_t>(mib, std::numeric_limits<int>::max()));
}

bool Allowed(const QSize& size, const PictureLimits& limits) {
    return size.width() > 0 && size.height() > 0 &&
           limits.Allows(static_cast<std::uint64_t>(size.width()),
                         static_cast<std::uint64_t>(size.height()));
}

}  // namespace

Result DecodePictureWithQt(std::span<const std::uint8_t> bytes, const PictureLimits& limits,
                           Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return E_FAIL;
    }
    // The reader works on the caller's bytes in place.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return E_FAIL;
    }
    QImageReader reader(&buffer);
    reader.setAllocationLimit(AllocationLimitMiB(limits));
    if (!reader.canRead()) {
        return E_FAIL;
    }
    // A reader that cannot tell the size before decoding answers an invalid one; the
    // allocation limit still holds then.
    const QSize claimed = reader.size();
    if (claimed.isValid() && !Allowed(claimed, limits)) {
        return E_OUTOFMEMORY;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return E_FAIL;
    }
    if (!Allowed(image.size(), limits)) {
        return E_OUTOFMEMORY;
    }
    // Format_ARGB32 holds exactly the 0xAARRGGBB words of a Picture.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) {
        return E_OUTOFMEMORY;
    }
    const Result allocated =
        AllocatePicture(static_cast<std::uint32_t>(argb.width()),
                        static_cast<std::uint32_t>(argb.height()), limits, out);
    if (Failed(allocated)) {
        return allocated;
    }
    const std::size_t rowBytes = std::size_t{out->width} * 4;
    for (std::uint32_t y = 0; y < out->height; ++y) {
        std::memcpy(out->pixels.data() + std::size_t{y} * out->width,
                    argb.constScanLine(static_cast<int>(y)), rowBytes);
    }
    return S_OK;
}

void InstallQtPictureDecoder() {
    SetExtraPictureDecoder(DecodePictureWithQt);
}

}  // namespace tetrakon
