// The binary token encoding, packed into the compressed container: templates, then data
// objects, with runs of integers and of floats each stored as one list token.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "gfxutil/ascii.h"
#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_format.h"
#include "gfxutil/xfile/xfile_templates.h"
#include "gfxutil/xfile/xfile_writer_container.h"
#include "gfxutil/xfile/xfile_writer_layout.h"

namespace tetrakon {
namespace {

using xformat::Token;

// Nesting beyond this is refused rather than risking the stack on a malformed tree.
constexpr int kMaxObjectDepth = 256;

XStatus WriteFailure(std::string message) {
    return XStatus{XError::WriteFailed, std::move(message)};
}

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" as the 16 bytes of the GUID record: the first
// three fields little-endian, the last eight bytes in text order.
bool GuidBytes(std::string_view text, std::uint8_t bytes[16]) {
    if (text.size() != 36)
        return false;
    std::uint8_t ordered[16];
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return false;
            continue;
        }
        const int high = HexDigitValue(text[i]);
        const int low = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        if (high < 0 || low < 0)
            return false;
        ordered[count++] = static_cast<std::uint8_t>(high * 16 + low);
        ++i;
    }
    constexpr std::size_t kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < 16; ++i)
        bytes[i] = ordered[kOrder[i]];
    return true;
}

bool PrimitiveToken(std::string_view typeName, Token* token) {
    static const std::pair<std::string_view, Token> kTypes[] = {
        {"WORD", Token::Word},       {"DWORD", Token::Dword},     {"FLOAT", Token::Float},
        {"DOUBLE", Token::Double},   {"CHAR", Token::Char},       {"UCHAR", Token::Uchar},
        {"BYTE", Token::Uchar},      {"SWORD", Token::Sword},     {"SDWORD", Token::Sdword},
        {"VOID", Token::Void},       {"STRING", Token::Lpstr},    {"LPSTR", Token::Lpstr},
        {"UNICODE", Token::Unicode}, {"CSTRING", Token::Cstring},
    };
    for (const auto& [name, value] : kTypes) {
        if (typeName == name) {
            *token = value;
            return true;
        }
    }
    return false;
}

class TokenWriter {
  public:
    explicit TokenWriter(const XFile& file) : file_(file), templates_(file) {}

    XStatus Write(std::vector<std::uint8_t>* out) {
        const char header[] = "xof 0303bin 0032";
        bytes_.assign(header, header + xformat::kHeaderSize);
        for (const XTemplate& definition : file_.templates) {
            if (XStatus status = WriteTemplate(definition); !status.ok())
                return status;
        }
        for (const auto& object : file_.objects) {
            if (object == nullptr)
                return WriteFailure("empty top-level object");
            if (XStatus status = WriteObject(*object, 0); !status.ok())
                return status;
        }
        *out = std::move(bytes_);
        return {};
    }

  private:
    XStatus WriteTemplate(const XTemplate& definition) {
        if (definition.name.empty())
            return WriteFailure("template without a name");
        std::uint8_t guid[16];
        if (!GuidBytes(definition.guid, guid)) {
            return WriteFailure("template " + definition.name + " has no valid GUID");
        }
        Put(Token::Template);
        PutName(definition.name);
        Put(Token::OpenBrace);
        PutGuid(guid);
        for (const XTemplateMember& member : definition.members) {
            if (member.typeName.empty()) {
                return WriteFailure("template " + definition.name + " has a member without a type");
            }
            Token primitive = Token::Void;
            const bool isPrimitive = PrimitiveToken(member.typeName, &primitive);
            if (member.isArray) {
                if (member.dimensions.empty() || member.name.empty()) {
                    return WriteFailure("template " + definition.name + " has a bad array");
                }
                Put(Token::Array);
            }
            if (isPrimitive) {
                Put(primitive);
            } else {
                PutName(member.typeName);
            }
            if (!member.name.empty())
                PutName(member.name);
            for (const std::string& dimension : member.dimensions) {
                Put(Token::OpenBracket);
                if (!dimension.empty() &&
                    dimension.find_first_not_of("0123456789") == std::string::npos) {
                    if (dimension.size() > 9)
                        return WriteFailure("array dimension too large");
                    Put(Token::Integer);
                    PutU32(static_cast<std::uint32_t>(std::stoul(dimension)));
                } else {
                    PutName(dimension);
                }
                Put(Token::CloseBracket);
            }
            Put(Token::Semicolon);
        }
        switch (definition.restriction) {
            case XTemplate::Restriction::Closed:
                break;
            case XTemplate::Restriction::Open:
                Put(Token::OpenBracket);
                Put(Token::Dot);
                Put(Token::Dot);
                Put(Token::Dot);
                Put(Token::CloseBracket);
                break;
            case XTemplate::Restriction::Restricted:
                Put(Token::OpenBracket);
                for (const std::string& allowed : definition.allowedTypes)
                    PutName(allowed);
                Put(Token::CloseBracket);
                break;
        }
        Put(Token::CloseBrace);
        return {};
    }

    XStatus WriteObject(const XDataObject& object, int depth) {
        if (depth > kMaxObjectDepth)
            return WriteFailure("objects nested too deeply");
        if (object.templateName.empty())
            return WriteFailure("object without a type");
        PutName(object.templateName);
        if (!object.name.empty())
            PutName(object.name);
        Put(Token::OpenBrace);
        if (!object.guid.empty()) {
            std::uint8_t guid[16];
            if (!GuidBytes(object.guid, guid))
                return WriteFailure("bad GUID on " + object.name);
            PutGuid(guid);
        }
        if (XStatus status = WriteValues(object); !status.ok())
            return status;
        for (const XChild& child : object.children) {
            if (child.object != nullptr) {
                if (XStatus status = WriteObject(*child.object, depth + 1); !status.ok()) {
                    return status;
                }
                continue;
            }
            if (child.referenceName.empty() && child.referenceGuid.empty()) {
                return WriteFailure("reference without a name or GUID");
            }
            Put(Token::OpenBrace);
            if (!child.referenceName.empty())
                PutName(child.referenceName);
            if (!child.referenceGuid.empty()) {
                std::uint8_t guid[16];
                if (!GuidBytes(child.referenceGuid, guid)) {
                    return WriteFailure("reference with a bad GUID");
                }
                PutGuid(guid);
            }
            Put(Token::CloseBrace);
        }
        Put(Token::CloseBrace);
        return {};
    }

    // Consecutive values of one numeric type share one list token; strings stand alone,
    // each closed by the separator its layout gives it.
    XStatus WriteValues(const XDataObject& object) {
        const std::vector<XValueSlot> slots = LayOutValues(object, templates_);
        std::size_t i = 0;
        while (i < slots.size()) {
            const XSlotType type = slots[i].type;
            if (type == XSlotType::String) {
                const std::string& text = object.values[i].text();
                if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
                    return WriteFailure("string too long");
                }
                Put(Token::String);
                PutU32(static_cast<std::uint32_t>(text.size()));
                bytes_.insert(bytes_.end(), text.begin(), text.end());
                Put(slots[i].separators.starts_with(",") ? Token::Comma : Token::Semicolon);
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < slots.size() && slots[end].type == type)
                ++end;
            Put(type == XSlotType::Float ? Token::FloatList : Token::IntegerList);
            PutU32(static_cast<std::uint32_t>(end - i));
            for (; i < end; ++i) {
                const XValue& value = object.values[i];
                if (type == XSlotType::Float) {
                    const float number = value.AsFloat();
                    if (!std::isfinite(number)) {
                        return WriteFailure("a number is not a finite float in " +
                                            object.templateName);
                    }
                    std::uint32_t bits = 0;
                    std::memcpy(&bits, &number, sizeof bits);
                    PutU32(bits);
                } else {
                    if (value.integer() < std::numeric_limits<std::int32_t>::min() ||
                        value.integer() > std::numeric_limits<std::uint32_t>::max()) {
                        return WriteFailure("an integer does not fit 32 bits in " +
                                            object.templateName);
                    }
                    PutU32(static_cast<std::uint32_t>(value.integer()));
                }
            }
        }
        return {};
    }

    void Put(Token token) { PutU16(static_cast<std::uint16_t>(token)); }
    void PutU16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void PutU32(std::uint32_t value) {
        PutU16(static_cast<std::uint16_t>(value & 0xFFFF));
        PutU16(static_cast<std::uint16_t>(value >> 16));
    }
    void PutName(std::string_view name) {
        Put(Token::Name);
        PutU32(static_cast<std::uint32_t>(name.size()));
        bytes_.insert(bytes_.end(), name.begin(), name.end());
    }
    void PutGuid(const std::uint8_t guid[16]) {
        Put(Token::Guid);
        bytes_.insert(bytes_.end(), guid, guid + 16);
    }

    const XFile& file_;
    const XTemplateLookup templates_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

XStatus WriteXFileCompressed(const XFile& file, std::vector<std::uint8_t>* out) {
    if (out == nullptr)
        return WriteFailure("no output given");
    std::vector<std::uint8_t> binary;
    if (XStatus status = TokenWriter(file).Write(&binary); !status.ok())
        return status;
    return CompressXContainer(binary, xformat::kEncodingCompressedBinary, out);
}

}  // namespace tetrakon
