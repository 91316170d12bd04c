#include "gfxutil/xfile/xfile_writer_container.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "gfxutil/xfile/xfile_format.h"

namespace tetrakon {
namespace {

XStatus WriteFailure(std::string message) {
    return XStatus{XError::WriteFailed, std::move(message)};
}

void AppendU16(std::vector<std::uint8_t>* out, std::size_t value) {
    out->push_back(static_cast<std::uint8_t>(value & 0xFF));
    out->push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void AppendU32(std::vector<std::uint8_t>* out, std::size_t value) {
    AppendU16(out, value & 0xFFFF);
    AppendU16(out, (value >> 16) & 0xFFFF);
}

// Deflates one block, primed with the data before it, and appends it with its block header.
XStatus AppendBlock(std::span<const std::uint8_t> dictionary, std::span<const std::uint8_t> block,
                    std::vector<std::uint8_t>* out) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, xformat::kDeflateWindowBits, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        return WriteFailure("deflate could not start");
    }
    bool ok =
        dictionary.empty() || deflateSetDictionary(&stream, dictionary.data(),
                                                   static_cast<uInt>(dictionary.size())) == Z_OK;
    std::vector<std::uint8_t> compressed(deflateBound(&stream, static_cast<uLong>(block.size())));
    if (ok) {
        // zlib takes a non-const input pointer but does not write through it.
        stream.next_in = const_cast<Bytef*>(block.data());
        stream.avail_in = static_cast<uInt>(block.size());
        stream.next_out = compressed.data();
        stream.avail_out = static_cast<uInt>(compressed.size());
        ok = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    }
    const std::size_t compressedSize = stream.total_out;
    deflateEnd(&stream);
    if (!ok)
        return WriteFailure("deflate failed");
    const std::size_t storedSize = compressedSize + xformat::kBlockSignatureSize;
    if (storedSize > std::numeric_limits<std::uint16_t>::max()) {
        return WriteFailure("a compressed block does not fit its size field");
    }
    AppendU16(out, block.size());
    AppendU16(out, storedSize);
    out->insert(out->end(), xformat::kBlockSignature,
                xformat::kBlockSignature + xformat::kBlockSignatureSize);
    out->insert(out->end(), compressed.begin(),
                compressed.begin() + static_cast<std::ptrdiff_t>(compressedSize));
    return {};
}

}  // namespace

XStatus CompressXContainer(std::span<const std::uint8_t> file, const char compressedEncoding[4],
                           std::vector<std::uint8_t>* out) {
    if (out == nullptr)
        return WriteFailure("no output given");
    if (file.size() < xformat::kHeaderSize)
        return WriteFailure("no header to compress");
    if (file.size() > std::numeric_limits<std::uint32_t>::max()) {
        return WriteFailure("the file is too large for the container's size field");
    }
    std::vector<std::uint8_t> result(file.begin(), file.begin() + xformat::kHeaderSize);
    std::memcpy(result.data() + xformat::kEncodingOffset, compressedEncoding, 4);
    AppendU32(&result, file.size());

    const std::span<const std::uint8_t> body = file.subspan(xformat::kHeaderSize);
    for (std::size_t start = 0; start < body.size(); start += xformat::kMaxBlockUncompressedSize) {
        const std::size_t length =
            std::min(xformat::kMaxBlockUncompressedSize, body.size() - start);
        const std::size_t dictionaryStart =
            start > xformat::kDictionarySize ? start - xformat::kDictionarySize : 0;
        const std::span<const std::uint8_t> dictionary =
            body.subspan(dictionaryStart, start - dictionaryStart);
        if (XStatus status = AppendBlock(dictionary, body.subspan(start, length), &result);
            !status.ok()) {
            return status;
        }
    }
    *out = std::move(result);
    return {};
}

}  // namespace tetrakon
