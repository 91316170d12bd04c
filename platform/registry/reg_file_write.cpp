// Writing registry files: one line for each key and value, strings quoted where the quoted
// form carries them exactly, long hex data wrapped as the platform's editor wraps it.

#include <cstdint>

#include "platform/registry/reg_file_format.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {
namespace {

// Hex data lines are wrapped before this column, as the platform's editor does.
constexpr std::size_t kHexWrapColumn = 77;

}  // namespace

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

namespace {

// A string value the quoted form carries exactly: one terminator at the end, and text
// that is printable UTF-8.
bool IsQuotableString(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                value.data.size() - 1);
    for (char c : text) {
        if (IsRegControl(c) && c != '\t') {
            return false;
        }
    }
    return IsUtf8(text);
}

void AppendQuoted(std::string* out, std::string_view text) {
    out->push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out->push_back('\\');
        }
        out->push_back(c);
    }
    out->push_back('"');
}

void AppendHexByte(std::string* out, std::uint32_t byte) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    out->push_back(kDigits[(byte >> 4) & 0xFu]);
    out->push_back(kDigits[byte & 0xFu]);
}

void AppendHexData(std::string* out, std::size_t lineStart, const RegValue& value) {
    out->append("hex");
    if (value.type != REG_BINARY) {
        out->push_back('(');
        std::string digits;
        std::uint32_t type = value.type;
        do {
            digits.insert(digits.begin(), "0123456789abcdef"[type & 0xFu]);
            type >>= 4;
        } while (type != 0);
        out->append(digits);
        out->push_back(')');
    }
    out->push_back(':');
    std::size_t column = out->size() - lineStart;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) {
            out->push_back(',');
            ++column;
            if (column + 3 > kHexWrapColumn) {
                out->append("\\\n  ");
                column = 2;
            }
        }
        AppendHexByte(out, value.data[i]);
        column += 2;
    }
}

}  // namespace

void AppendRegValue(std::string* out, const RegNamedValue& named) {
    const std::size_t lineStart = out->size();
    if (named.name.empty()) {
        out->push_back('@');
    } else {
        AppendQuoted(out, named.name);
    }
    out->push_back('=');
    const RegValue& value = named.value;
    if (IsQuotableString(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                           value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        out->append("dword:");
        for (int i = 3; i >= 0; --i) {
            AppendHexByte(out, value.data[static_cast<std::size_t>(i)]);
        }
    } else {
        AppendHexData(out, lineStart, value);
    }
    out->push_back('\n');
}

std::string FormatRegFile(const RegistryContents& contents) {
    std::string out(kRegHeader);
    out.append("\n\n");
    for (const RegKeyEntry& key : contents.Keys()) {
        out.push_back('[');
        out.append(key.Path());
        out.append("]\n");
        for (const RegNamedValue& value : key.Values()) {
            AppendRegValue(&out, value);
        }
    }
    return out;
}

}  // namespace tetrakon
