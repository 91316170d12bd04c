#pragma once

// Where a picture's bytes come from: memory the caller holds, or a file read piece by
// piece as the decoder asks, so that a file's format and size are known from its first
// bytes before the rest of it is read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "gfxutil/result.h"

namespace tetrakon {

class PictureSource {
  public:
    virtual ~PictureSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies up to into.size() bytes from `offset` on; answers how many were copied (0 at
    // the end or on a read error).
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

class MemoryPictureSource : public PictureSource {
  public:
    explicit MemoryPictureSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    std::span<const std::uint8_t> bytes_;
};

// `size` bytes of another source from `offset` on (fewer where that source ends): a picture
// stored inside another file.
class PictureSourceRange : public PictureSource {
  public:
    PictureSourceRange(PictureSource* source, std::uint64_t offset, std::uint64_t size);
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    PictureSource* source_;
    std::uint64_t offset_, size_;
};

// A regular file opened for reading. Open refuses anything else (a folder, a pipe, a
// device) by the type of what it opened, so nothing can swap the file in between; it opens
// without blocking, so a named pipe with no writer cannot hang it.
class PictureFile : public PictureSource {
  public:
    PictureFile() = default;
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;
    ~PictureFile() override;

    // E_FILE_NOT_FOUND when the path cannot be opened or is not a regular file.
    Result Open(const std::string& path);
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

// Reads a source from its start, a buffer at a time: the decoders' input.
class PictureReader {
  public:
    explicit PictureReader(PictureSource* source) : source_(source) {}
    // The next bytes, at most `wanted`; empty only at the end of the source.
    std::span<const std::uint8_t> Next(std::size_t wanted);
    void Skip(std::uint64_t count);

  private:
    static constexpr std::size_t kBufferBytes = 64 * 1024;
    PictureSource* source_;
    std::uint64_t sourceOffset_ = 0;  // of the byte after the buffered ones
    std::size_t begin_ = 0, end_ = 0;
    std::uint8_t buffer_[kBufferBytes];
};

}  // namespace tetrakon
