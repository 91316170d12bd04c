#include "gfxutil/picture_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tetrakon {

std::size_t MemoryPictureSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset >= bytes_.size()) {
        return 0;
    }
    const std::size_t count =
        std::min<std::size_t>(into.size(), bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(into.data(), bytes_.data() + offset, count);
    return count;
}

PictureSourceRange::PictureSourceRange(PictureSource* source, std::uint64_t offset,
                                       std::uint64_t size)
    : source_(source),
      offset_(offset),
      size_(offset < source->Size() ? std::min(size, source->Size() - offset) : 0) {}

std::size_t PictureSourceRange::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset >= size_) {
        return 0;
    }
    return source_->ReadAt(offset_ + offset,
                           into.first(std::min<std::uint64_t>(into.size(), size_ - offset)));
}

PictureFile::~PictureFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

Result PictureFile::Open(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return E_FILE_NOT_FOUND;
    }
    struct stat facts = {};
    if (::fstat(descriptor, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(descriptor);
        return E_FILE_NOT_FOUND;
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    descriptor_ = descriptor;
    size_ = static_cast<std::uint64_t>(facts.st_size);
    return S_OK;
}

std::size_t PictureFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (descriptor_ < 0) {
        return 0;
    }
    for (;;) {
        const ssize_t count =
            ::pread(descriptor_, into.data(), into.size(), static_cast<off_t>(offset));
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

std::span<const std::uint8_t> PictureReader::Next(std::size_t wanted) {
    if (begin_ == end_) {
        begin_ = 0;
        end_ = source_->ReadAt(sourceOffset_, buffer_);
        sourceOffset_ += end_;
    }
    const std::size_t count = std::min(wanted, end_ - begin_);
    const std::span<const std::uint8_t> next(buffer_ + begin_, count);
    begin_ += count;
    return next;
}

void PictureReader::Skip(std::uint64_t count) {
    const std::size_t buffered = end_ - begin_;
    if (count <= buffered) {
        begin_ += static_cast<std::size_t>(count);
        return;
    }
    sourceOffset_ += count - buffered;
    begin_ = end_ = 0;
}

}  // namespace tetrakon
