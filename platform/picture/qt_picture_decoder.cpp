#include "platform/picture/qt_picture_decoder.h"

#include <QImage>
#include <QImageReader>
#include <QLoggingCategory>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "gfxutil/little_endian.h"
#include "platform/picture/picture_source_device.h"

namespace tetrakon {

namespace {

// Rows converted at a time for formats other than 32-bit RGB and ARGB.
constexpr int kBandRows = 64;

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

// The formats whose readers read nothing but the file's own pixels. An SVG draws any file it
// names (opened without a time limit, so a named pipe hangs it) and any picture it embeds,
// through Qt's own PNG reader; formats of optional plugins are unknown. Both are refused.
// (DecodePicture gives every PNG file to DecodePng; called directly, Qt reads it.)
bool Readable(const QByteArray& format) {
    static const QByteArrayList kFormats = {"bmp", "cur", "gif", "ico", "pbm",
                                            "pgm", "png", "ppm", "xbm", "xpm"};
    return kFormats.contains(format);
}

// The first image of an icon or cursor file when it is stored as a PNG. Qt's icon reader
// hands such an image to Qt's own PNG reader, which allocates whatever the PNG's chunks
// claim, so it is decoded by DecodePng instead, under the same limits as any PNG.
std::optional<PictureSourceRange> FirstIconAsPng(PictureSource& source) {
    std::array<std::uint8_t, 22> directory{};  // the header and the first entry
    if (source.ReadAt(0, directory) != directory.size()) {
        return std::nullopt;
    }
    // The first entry's image: its offset in the file and its size.
    PictureSourceRange image(&source, LoadLe32(&directory[18]), LoadLe32(&directory[14]));
    std::array<std::uint8_t, 8> signature{};
    if (!LooksLikePng({signature.data(), image.ReadAt(0, signature)})) {
        return std::nullopt;
    }
    return image;
}

// Copies the decoded image into the picture's 0xAARRGGBB words. Format_ARGB32 rows hold
// exactly those words and Format_RGB32 rows hold them with the alpha byte to be set, so both
// are copied as they are; any other format is converted a band of rows at a time. Converting
// the whole image first held an opaque GIF three times at once: Qt's GIF reader keeps the
// image it delivers, so converting it to ARGB32 made a copy.
Result CopyRows(const QImage& image, Picture* out) {
    const QImage::Format format = image.format();
    const bool direct = format == QImage::Format_ARGB32 || format == QImage::Format_RGB32;
    const std::uint32_t opaque = format == QImage::Format_RGB32 ? 0xFF000000u : 0;
    const int width = image.width();
    QImage band;
    for (int y = 0; y < image.height(); ++y) {
        const int inBand = y % kBandRows;
        if (!direct && inBand == 0) {
            band = image.copy(0, y, width, std::min(kBandRows, image.height() - y))
                       .convertToFormat(QImage::Format_ARGB32);
            if (band.isNull()) {
                return E_OUTOFMEMORY;
            }
        }
        const auto* from = reinterpret_cast<const std::uint32_t*>(
            direct ? image.constScanLine(y) : band.constScanLine(inBand));
        std::uint32_t* to = out->pixels.data() + std::size_t(y) * out->width;
        for (int x = 0; x < width; ++x) {
            to[x] = from[x] | opaque;
        }
    }
    return S_OK;
}

// The picture layer's messages, quiet unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcPicture, "tetrakon.picture", QtInfoMsg)

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
    if (!reader.canRead() || !Readable(reader.format())) {
        qCDebug(lcPicture) << "no reader takes the file, or its format is refused:"
                           << reader.format();
        return E_FAIL;
    }
    if (reader.format() == "ico" || reader.format() == "cur") {
        if (std::optional<PictureSourceRange> png = FirstIconAsPng(source)) {
            return DecodePng(*png, limits, out);
        }
    }
    // A reader that cannot tell the size before decoding answers an invalid one; the
    // allocation limit still holds then.
    const QSize claimed = reader.size();
    if (claimed.isValid() && !Allowed(claimed, limits)) {
        qCDebug(lcPicture) << "the file claims" << claimed << "- over the picture limit";
        return E_OUTOFMEMORY;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        qCDebug(lcPicture) << "Qt's reader failed:" << reader.errorString();
        return E_FAIL;
    }
    if (!Allowed(image.size(), limits)) {
        return E_OUTOFMEMORY;
    }
    const Result allocated =
        AllocatePicture(static_cast<std::uint32_t>(image.width()),
                        static_cast<std::uint32_t>(image.height()), limits, out);
    if (Failed(allocated)) {
        return allocated;
    }
    const Result copied = CopyRows(image, out);
    if (Failed(copied)) {
        *out = Picture{};
    }
    return copied;
}

void InstallQtPictureDecoder() {
    SetExtraPictureDecoder(DecodePictureWithQt);
}

}  // namespace tetrakon
