#include "gfxutil/xfile/xfile_container.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "gfxutil/little_endian.h"
#include "gfxutil/xfile/xfile_format.h"
#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {
namespace {

// Inflates one block's raw deflate stream onto the end of `out`, with up to the last
// 32 KB of `out` as the preset dictionary.
XStatus InflateBlock(std::span<const std::uint8_t> stream, std::uint32_t size,
                     std::vector<std::uint8_t>* out, const std::string& where) {
    z_stream z{};
    if (inflateInit2(&z, xformat::kDeflateWindowBits) != Z_OK) {
        return XFail(XError::BadCompressedBlock, "inflate could not start");
    }
    const std::size_t dictionary = std::min(out->size(), xformat::kDictionarySize);
    if (dictionary > 0 && inflateSetDictionary(&z, out->data() + out->size() - dictionary,
                                               static_cast<uInt>(dictionary)) != Z_OK) {
        inflateEnd(&z);
        return XFail(XError::BadCompressedBlock, "preset dictionary refused" + where);
    }
    const std::size_t start = out->size();
    // One byte of slack shows a stream that inflates to more than its stated size.
    out->resize(start + size + 1);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out->data() + start;
    z.avail_out = size + 1;
    const int rc = inflate(&z, Z_FINISH);
    const std::size_t produced = size + 1 - z.avail_out;
    const std::size_t leftover = z.avail_in;
    inflateEnd(&z);
    out->resize(start + std::min<std::size_t>(produced, size));
    if (rc == Z_STREAM_END) {
        if (produced != size) {
            return XFail(XError::SizeMismatch, "block inflates to " + std::to_string(produced) +
                                                   " bytes, not " + std::to_string(size) + where);
        }
        if (leftover != 0)
            return XFail(XError::BadCompressedBlock, "bytes after the stream" + where);
        return {};
    }
    if (produced > size) {
        return XFail(XError::SizeMismatch,
                     "block inflates to more than " + std::to_string(size) + " bytes" + where);
    }
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT) {
        return XFail(XError::BadCompressedBlock,
                     std::string("bad deflate data (") + (z.msg ? z.msg : "inflate") + ")" + where);
    }
    return XFail(XError::BadCompressedBlock, "deflate stream ends early" + where);
}

}  // namespace

XStatus DecompressXContainer(std::span<const std::uint8_t> data, std::vector<std::uint8_t>* body) {
    body->clear();
    if (data.size() < xformat::kFirstBlockOffset) {
        return XFail(XError::Truncated, "compressed file ends before its size field");
    }
    const std::uint32_t total = LoadLe32(data.data() + xformat::kTotalSizeOffset);
    if (total < xformat::kHeaderSize) {
        return XFail(XError::SizeMismatch,
                     "stated size " + std::to_string(total) + " is smaller than the header");
    }
    if (total > kMaxXUncompressedSize) {
        return XFail(XError::TooLarge, "stated size " + std::to_string(total) + " is too large");
    }
    const std::size_t expected = total - xformat::kHeaderSize;
    std::size_t pos = xformat::kFirstBlockOffset;
    int blockIndex = 0;
    while (pos < data.size()) {
        const std::string where = " in block " + std::to_string(blockIndex);
        if (data.size() - pos < xformat::kBlockHeaderSize + xformat::kBlockSignatureSize) {
            return XFail(XError::Truncated, "data ends inside a block header" + where);
        }
        const std::uint32_t uncompressed = LoadLe16(data.data() + pos);
        const std::uint32_t compressed = LoadLe16(data.data() + pos + 2);
        const std::uint8_t* signature = data.data() + pos + xformat::kBlockHeaderSize;
        if (signature[0] != xformat::kBlockSignature[0] ||
            signature[1] != xformat::kBlockSignature[1]) {
            return XFail(XError::BadCompressedBlock, "block signature is not \"CK\"" + where);
        }
        if (compressed < xformat::kBlockSignatureSize ||
            compressed > data.size() - pos - xformat::kBlockHeaderSize) {
            return XFail(
                XError::BadCompressedBlock,
                "compressed size " + std::to_string(compressed) + " runs past the end" + where);
        }
        if (uncompressed > expected - body->size()) {
            return XFail(XError::SizeMismatch, "blocks hold more than the stated size" + where);
        }
        const std::span<const std::uint8_t> stream =
            data.subspan(pos + xformat::kBlockHeaderSize + xformat::kBlockSignatureSize,
                         compressed - xformat::kBlockSignatureSize);
        if (XStatus s = InflateBlock(stream, uncompressed, body, where); !s.ok())
            return s;
        pos += xformat::kBlockHeaderSize + compressed;
        ++blockIndex;
    }
    if (body->size() != expected) {
        return XFail(XError::SizeMismatch, "blocks hold " + std::to_string(body->size()) +
                                               " bytes, the file states " +
                                               std::to_string(expected));
    }
    return {};
}

}  // namespace tetrakon
