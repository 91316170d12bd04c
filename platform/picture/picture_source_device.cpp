#include "platform/picture/picture_source_device.h"

namespace tetrakon {

qint64 PictureSourceDevice::readData(char* data, qint64 maxSize) {
    if (maxSize <= 0) {
        return 0;
    }
    const std::span<std::uint8_t> into(reinterpret_cast<std::uint8_t*>(data),
                                       static_cast<std::size_t>(maxSize));
    return static_cast<qint64>(source_->ReadAt(static_cast<std::uint64_t>(pos()), into));
}

}  // namespace tetrakon
