#include "gfxutil/xfile/xfile_binary_tokenizer.h"

#include <cmath>
#include <cstring>
#include <string>

#include "gfxutil/little_endian.h"
#include "gfxutil/xfile/xfile_format.h"

namespace tetrakon {
namespace {

using xformat::Token;

const char* PrimitiveName(std::uint16_t token) {
    switch (static_cast<Token>(token)) {
        case Token::Word:
            return "WORD";
        case Token::Dword:
            return "DWORD";
        case Token::Float:
            return "FLOAT";
        case Token::Double:
            return "DOUBLE";
        case Token::Char:
            return "CHAR";
        case Token::Uchar:
            return "UCHAR";
        case Token::Sword:
            return "SWORD";
        case Token::Sdword:
            return "SDWORD";
        case Token::Void:
            return "VOID";
        case Token::Lpstr:
            // Binary files write the STRING type as LPSTR.
            return "STRING";
        case Token::Unicode:
            return "UNICODE";
        case Token::Cstring:
            return "CSTRING";
        case Token::Array:
            return "array";
        default:
            return nullptr;
    }
}

}  // namespace

std::string XBinaryTokenizer::Where() const {
    return " at byte " + std::to_string(pos_ + xformat::kHeaderSize);
}

bool XBinaryTokenizer::Read16(std::uint16_t* value) {
    if (data_.size() - pos_ < 2)
        return false;
    *value = LoadLe16(data_.data() + pos_);
    pos_ += 2;
    return true;
}

bool XBinaryTokenizer::Read32(std::uint32_t* value) {
    if (data_.size() - pos_ < 4)
        return false;
    *value = LoadLe32(data_.data() + pos_);
    pos_ += 4;
    return true;
}

XStatus XBinaryTokenizer::ReadBytes(std::uint32_t count, std::string* out) {
    if (count > data_.size() - pos_) {
        return XFail(XError::Truncated, "name or string runs past the end" + Where());
    }
    out->assign(reinterpret_cast<const char*>(data_.data() + pos_), count);
    pos_ += count;
    return {};
}

XStatus XBinaryTokenizer::ReadGuid(XToken* token) {
    if (data_.size() - pos_ < xformat::kGuidRecordSize) {
        return XFail(XError::Truncated, "GUID runs past the end" + Where());
    }
    const std::uint8_t* g = data_.data() + pos_;
    // Data1 and Data2/Data3 are little-endian numbers, Data4 is 8 bytes in order.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        const std::uint8_t byte = g[order[i]];
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 15]);
    }
    pos_ += xformat::kGuidRecordSize;
    token->kind = XToken::Kind::Guid;
    token->text = std::move(text);
    return {};
}

XStatus XBinaryTokenizer::StartList(bool floats) {
    std::uint32_t count = 0;
    if (!Read32(&count))
        return XFail(XError::Truncated, "list count runs past the end" + Where());
    const std::size_t itemSize = floats ? static_cast<std::size_t>(floatBits_ / 8) : 4;
    if (count > (data_.size() - pos_) / itemSize) {
        return XFail(XError::TooLarge,
                     "list of " + std::to_string(count) + " numbers runs past the end" + Where());
    }
    listLeft_ = count;
    listIsFloat_ = floats;
    return {};
}

void XBinaryTokenizer::NextListItem(XToken* token) {
    --listLeft_;
    if (!listIsFloat_) {
        std::uint32_t value = 0;
        Read32(&value);
        token->kind = XToken::Kind::Integer;
        token->integer = value;
        return;
    }
    double value = 0;
    if (floatBits_ == 64) {
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | data_[pos_ + static_cast<std::size_t>(i)];
        std::memcpy(&value, &bits, sizeof value);
        pos_ += 8;
    } else {
        std::uint32_t bits = 0;
        Read32(&bits);
        float single = 0;
        std::memcpy(&single, &bits, sizeof single);
        value = single;
    }
    token->kind = XToken::Kind::Float;
    token->number = value;
}

XStatus XBinaryTokenizer::Next(XToken* token) {
    token->text.clear();
    // Empty lists give no token; any number of them in a row is skipped here.
    while (listLeft_ == 0 && data_.size() - pos_ >= xformat::kTokenSize) {
        const std::uint16_t id = LoadLe16(data_.data() + pos_);
        if (id != static_cast<std::uint16_t>(Token::IntegerList) &&
            id != static_cast<std::uint16_t>(Token::FloatList)) {
            break;
        }
        pos_ += xformat::kTokenSize;
        if (XStatus s = StartList(id == static_cast<std::uint16_t>(Token::FloatList)); !s.ok())
            return s;
    }
    if (listLeft_ > 0) {
        NextListItem(token);
        return {};
    }
    if (pos_ == data_.size()) {
        token->kind = XToken::Kind::End;
        return {};
    }
    std::uint16_t id = 0;
    if (!Read16(&id))
        return XFail(XError::Truncated, "data ends inside a token" + Where());
    std::uint32_t count = 0;
    switch (static_cast<Token>(id)) {
        case Token::Name:
            if (!Read32(&count))
                return XFail(XError::Truncated, "name runs past the end" + Where());
            token->kind = XToken::Kind::Name;
            return ReadBytes(count, &token->text);
        case Token::String: {
            if (!Read32(&count)) {
                return XFail(XError::Truncated, "string runs past the end" + Where());
            }
            token->kind = XToken::Kind::String;
            if (XStatus s = ReadBytes(count, &token->text); !s.ok())
                return s;
            // The terminator is a ';' or ',' token; some writers store it as a 32-bit word.
            if (data_.size() - pos_ >= 4) {
                const std::uint16_t next =
                    static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
                const bool terminator = next == static_cast<std::uint16_t>(Token::Semicolon) ||
                                        next == static_cast<std::uint16_t>(Token::Comma);
                if (terminator && data_[pos_ + 2] == 0 && data_[pos_ + 3] == 0)
                    pos_ += 4;
            }
            return {};
        }
        case Token::Integer:
            if (!Read32(&count))
                return XFail(XError::Truncated, "integer runs past the end" + Where());
            token->kind = XToken::Kind::Integer;
            token->integer = count;
            return {};
        case Token::Guid:
            return ReadGuid(token);
        case Token::OpenBrace:
            token->kind = XToken::Kind::OpenBrace;
            return {};
        case Token::CloseBrace:
            token->kind = XToken::Kind::CloseBrace;
            return {};
        case Token::OpenBracket:
            token->kind = XToken::Kind::OpenBracket;
            return {};
        case Token::CloseBracket:
            token->kind = XToken::Kind::CloseBracket;
            return {};
        case Token::Comma:
            token->kind = XToken::Kind::Comma;
            return {};
        case Token::Semicolon:
            token->kind = XToken::Kind::Semicolon;
            return {};
        case Token::Dot:
            token->kind = XToken::Kind::Dot;
            return {};
        case Token::OpenParen:
        case Token::CloseParen:
        case Token::OpenAngle:
        case Token::CloseAngle:
            token->kind = XToken::Kind::Other;
            return {};
        case Token::Template:
            token->kind = XToken::Kind::Template;
            return {};
        default:
            break;
    }
    if (const char* name = PrimitiveName(id)) {
        token->kind = XToken::Kind::Name;
        token->text = name;
        return {};
    }
    pos_ -= 2;
    return XFail(XError::Syntax, "unknown token " + std::to_string(id) + Where());
}

}  // namespace tetrakon
