#include <cstring>
#include <fstream>
#include <string>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_binary_tokenizer.h"
#include "gfxutil/xfile/xfile_container.h"
#include "gfxutil/xfile/xfile_format.h"
#include "gfxutil/xfile/xfile_reader_parser.h"
#include "gfxutil/xfile/xfile_reader_passes.h"
#include "gfxutil/xfile/xfile_text_tokenizer.h"

namespace tetrakon {
namespace {

bool Matches(std::span<const std::uint8_t> data, std::size_t offset, const char* text) {
    return std::memcmp(data.data() + offset, text, std::strlen(text)) == 0;
}

bool TwoDigits(std::span<const std::uint8_t> data, std::size_t offset, int* value) {
    const std::uint8_t a = data[offset];
    const std::uint8_t b = data[offset + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return false;
    *value = (a - '0') * 10 + (b - '0');
    return true;
}

XStatus ReadHeader(std::span<const std::uint8_t> data, XHeader* header) {
    if (data.size() < xformat::kHeaderSize ||
        !Matches(data, xformat::kMagicOffset, xformat::kMagic)) {
        return XFail(XError::NotAnXFile,
                     data.empty() ? "the file is empty" : "no \"xof \" header: not an X file");
    }
    if (!TwoDigits(data, xformat::kVersionOffset, &header->majorVersion) ||
        !TwoDigits(data, xformat::kVersionOffset + 2, &header->minorVersion) ||
        header->majorVersion != 3) {
        return XFail(XError::BadVersion, "unsupported format version");
    }
    if (Matches(data, xformat::kEncodingOffset, xformat::kEncodingText)) {
        header->encoding = XEncoding::Text;
    } else if (Matches(data, xformat::kEncodingOffset, xformat::kEncodingBinary)) {
        header->encoding = XEncoding::Binary;
    } else if (Matches(data, xformat::kEncodingOffset, xformat::kEncodingCompressedText)) {
        header->encoding = XEncoding::CompressedText;
    } else if (Matches(data, xformat::kEncodingOffset, xformat::kEncodingCompressedBinary)) {
        header->encoding = XEncoding::CompressedBinary;
    } else {
        return XFail(XError::UnknownEncoding, "unknown encoding (not txt, bin, tzip or bzip)");
    }
    if (Matches(data, xformat::kFloatSizeOffset, xformat::kFloatSize32)) {
        header->floatBits = 32;
    } else if (Matches(data, xformat::kFloatSizeOffset, xformat::kFloatSize64)) {
        header->floatBits = 64;
    } else {
        return XFail(XError::UnknownEncoding, "float size is neither 0032 nor 0064");
    }
    return {};
}

}  // namespace

XStatus ReadXFile(std::span<const std::uint8_t> data, XFile* out) {
    *out = XFile{};
    XFile file;
    if (XStatus s = ReadHeader(data, &file.header); !s.ok())
        return s;
    std::vector<std::uint8_t> unpacked;
    std::span<const std::uint8_t> body = data.subspan(xformat::kHeaderSize);
    const XEncoding encoding = file.header.encoding;
    if (encoding == XEncoding::CompressedText || encoding == XEncoding::CompressedBinary) {
        if (XStatus s = DecompressXContainer(data, &unpacked); !s.ok())
            return s;
        body = unpacked;
    }
    XStatus status;
    if (encoding == XEncoding::Text || encoding == XEncoding::CompressedText) {
        XTextTokenizer tokenizer(body);
        status = ParseXTokens(&tokenizer, body.size(), &file);
    } else {
        XBinaryTokenizer tokenizer(body, file.header.floatBits);
        status = ParseXTokens(&tokenizer, body.size(), &file);
    }
    if (!status.ok())
        return status;
    TypeXValuesByTemplate(&file);
    ResolveXReferences(&file);
    *out = std::move(file);
    return {};
}

XStatus ReadXFileFromPath(const std::string& path, XFile* out) {
    *out = XFile{};
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return XFail(XError::NotAnXFile, "cannot open " + path);
    // Read in one piece into a buffer of the file's size: growing it byte by byte would
    // hold up to twice the file at once.
    const std::streamoff size = in.tellg();
    if (size < 0)
        return XFail(XError::NotAnXFile, "cannot read " + path);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(data.data()), size))
        return XFail(XError::NotAnXFile, "cannot read " + path);
    return ReadXFile(data, out);
}

}  // namespace tetrakon
