#include "platform/picture/qt_picture_decoder.h"

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/picture/picture_source_device.h"

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

Result DecodePictureWithQt(PictureSource& source, const PictureLimits& limits, Picture* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = Picture{};
    if (source.Size() == 0) {
        return E_FAIL;
    }
    if (source.Size() / 8 > limits.maxPixels) {
        return E_OUTOFMEMORY;
    }
    PictureSourceDevice device(&source);
    if (!device.open(QIODevice::ReadOnly)) {
        return E_FAIL;
    }
    QImageReader reader(&device);
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
    QImage argb = reader.read();
    if (argb.isNull()) {
        return E_FAIL;
    }
    if (!Allowed(argb.size(), limits)) {
        return E_OUTOFMEMORY;
    }
    // Format_ARGB32 holds exactly the 0xAARRGGBB words of a Picture; a 32-bit image is
    // converted in place, without a second copy.
    argb.convertTo(QImage::Format_ARGB32);
    if (argb.isNull() || argb.format() != QImage::Format_ARGB32) {
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
