// The encodings of registry files: UTF-8, or UTF-16LE with a byte-order mark as the
// platform's editor exports by default, read as UTF-8 and written back as they came.

#include <cstdint>

#include "gfxutil/ascii.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {
namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

void AppendUtf8(std::string* out, std::uint32_t code) {
    const auto byte = [out](std::uint32_t b) { out->push_back(static_cast<char>(b)); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::string* out, std::uint32_t code) {
    const auto unit = [out](std::uint32_t u) {
        out->push_back(static_cast<char>(u & 0xFF));
        out->push_back(static_cast<char>(u >> 8));
    };
    if (code >= 0x10000) {
        unit(0xD800 | (code - 0x10000) >> 10);
        unit(0xDC00 | ((code - 0x10000) & 0x3FF));
    } else {
        unit(code);
    }
}

bool Utf16ToUtf8(std::string_view bytes, std::string* text) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    const auto unit = [bytes](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    text->reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (i + 3 >= bytes.size() || unit(i + 2) < 0xDC00 || unit(i + 2) > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        AppendUtf8(text, code);
    }
    return true;
}

// False for text that is not UTF-8 (checked by IsUtf8).
bool Utf8ToUtf16(std::string_view text, std::string* bytes) {
    if (!IsUtf8(text)) {
        return false;
    }
    bytes->reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        AppendUtf16(bytes, code);
        i += length;
    }
    return true;
}

}  // namespace

std::optional<std::string_view> RegFileText(std::string_view bytes, std::string* decoded) {
    if (bytes.size() > kMaxRegFileBytes) {
        return std::nullopt;
    }
    if (bytes.substr(0, kUtf16Mark.size()) != kUtf16Mark) {
        return bytes;
    }
    decoded->clear();
    if (!Utf16ToUtf8(bytes, decoded)) {
        return std::nullopt;
    }
    return *decoded;
}

bool EncodeLike(std::string_view original, std::string_view text, std::string* bytes) {
    bytes->clear();
    if (original.substr(0, kUtf16Mark.size()) != kUtf16Mark) {
        bytes->assign(text);
        return true;
    }
    return Utf8ToUtf16(text, bytes);
}

bool InKeyTree(std::string_view path, std::string_view root) {
    return EqualsIgnoringCase(path.substr(0, root.size()), root) &&
           (path.size() == root.size() || path[root.size()] == '\\');
}

}  // namespace tetrakon
