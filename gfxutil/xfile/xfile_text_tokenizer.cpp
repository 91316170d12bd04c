#include "gfxutil/xfile/xfile_text_tokenizer.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace tetrakon {
namespace {

bool IsNameStart(std::uint8_t c) {
    return std::isalpha(c) || c == '_';
}
bool IsNameChar(std::uint8_t c) {
    return std::isalnum(c) || c == '_' || c == '-';
}
bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string XTextTokenizer::Where() const {
    return " at line " + std::to_string(line_);
}

void XTextTokenizer::SkipSpaceAndComments() {
    while (pos_ < data_.size()) {
        const std::uint8_t c = data_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++pos_;
        } else if (c == '#' || (c == '/' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '/')) {
            while (pos_ < data_.size() && data_[pos_] != '\n')
                ++pos_;
        } else {
            return;
        }
    }
}

XStatus XTextTokenizer::Next(XToken* token) {
    SkipSpaceAndComments();
    token->text.clear();
    if (pos_ >= data_.size()) {
        token->kind = XToken::Kind::End;
        return {};
    }
    const std::uint8_t c = data_[pos_];
    const auto single = [&](XToken::Kind kind) {
        token->kind = kind;
        ++pos_;
        return XStatus{};
    };
    switch (c) {
        case '{':
            return single(XToken::Kind::OpenBrace);
        case '}':
            return single(XToken::Kind::CloseBrace);
        case '[':
            return single(XToken::Kind::OpenBracket);
        case ']':
            return single(XToken::Kind::CloseBracket);
        case ',':
            return single(XToken::Kind::Comma);
        case ';':
            return single(XToken::Kind::Semicolon);
        case '(':
        case ')':
        case '>':
            return single(XToken::Kind::Other);
        case '"':
            return ReadString(token);
        case '<':
            return ReadGuid(token);
        default:
            break;
    }
    const bool signedNumber = (c == '-' || c == '+') && pos_ + 1 < data_.size() &&
                              (IsDigit(data_[pos_ + 1]) || data_[pos_ + 1] == '.');
    const bool fraction = c == '.' && pos_ + 1 < data_.size() && IsDigit(data_[pos_ + 1]);
    if (IsDigit(c) || signedNumber || fraction)
        return ReadNumber(token);
    if (c == '.')
        return single(XToken::Kind::Dot);
    if (IsNameStart(c)) {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && IsNameChar(data_[pos_]))
            ++pos_;
        token->text.assign(reinterpret_cast<const char*>(data_.data() + start), pos_ - start);
        token->kind = token->text == "template" ? XToken::Kind::Template : XToken::Kind::Name;
        return {};
    }
    return XFail(
        XError::Syntax, "unexpected character 0x" + [c] {
            constexpr char kHex[] = "0123456789abcdef";
            return std::string{kHex[c >> 4], kHex[c & 15]};
        }() + Where());
}

XStatus XTextTokenizer::ReadNumber(XToken* token) {
    const std::size_t start = pos_;
    if (data_[pos_] == '-' || data_[pos_] == '+')
        ++pos_;
    bool isFloat = false;
    while (pos_ < data_.size() && IsDigit(data_[pos_]))
        ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '.') {
        isFloat = true;
        ++pos_;
        while (pos_ < data_.size() && IsDigit(data_[pos_]))
            ++pos_;
    }
    if (pos_ < data_.size() && (data_[pos_] == 'e' || data_[pos_] == 'E')) {
        std::size_t exponent = pos_ + 1;
        if (exponent < data_.size() && (data_[exponent] == '-' || data_[exponent] == '+')) {
            ++exponent;
        }
        if (exponent < data_.size() && IsDigit(data_[exponent])) {
            isFloat = true;
            pos_ = exponent;
            while (pos_ < data_.size() && IsDigit(data_[pos_]))
                ++pos_;
        }
    }
    // from_chars does not take a leading '+'.
    const char* first = reinterpret_cast<const char*>(data_.data() + start);
    const char* last = reinterpret_cast<const char*>(data_.data() + pos_);
    if (*first == '+')
        ++first;
    if (isFloat) {
        double value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc{} || end != last || !std::isfinite(value)) {
            return XFail(XError::Syntax, "bad number" + Where());
        }
        token->kind = XToken::Kind::Float;
        token->number = value;
        return {};
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        return XFail(XError::TooLarge, "integer out of range" + Where());
    }
    if (error != std::errc{} || end != last)
        return XFail(XError::Syntax, "bad number" + Where());
    token->kind = XToken::Kind::Integer;
    token->integer = value;
    return {};
}

XStatus XTextTokenizer::ReadString(XToken* token) {
    const std::size_t start = ++pos_;
    while (pos_ < data_.size() && data_[pos_] != '"') {
        if (data_[pos_] == '\n')
            ++line_;
        ++pos_;
    }
    if (pos_ >= data_.size())
        return XFail(XError::Truncated, "unterminated string" + Where());
    token->kind = XToken::Kind::String;
    token->text.assign(reinterpret_cast<const char*>(data_.data() + start), pos_ - start);
    ++pos_;
    return {};
}

XStatus XTextTokenizer::ReadGuid(XToken* token) {
    const std::size_t start = ++pos_;
    while (pos_ < data_.size() && data_[pos_] != '>') {
        const std::uint8_t c = data_[pos_];
        if (!std::isxdigit(c) && c != '-' && c != ' ' && c != '\t') {
            return XFail(XError::Syntax, "bad GUID" + Where());
        }
        ++pos_;
    }
    if (pos_ >= data_.size())
        return XFail(XError::Truncated, "unterminated GUID" + Where());
    std::string guid;
    for (std::size_t i = start; i < pos_; ++i) {
        if (data_[i] != ' ' && data_[i] != '\t') {
            guid.push_back(static_cast<char>(std::toupper(data_[i])));
        }
    }
    ++pos_;
    if (guid.size() != 36)
        return XFail(XError::Syntax, "bad GUID" + Where());
    token->kind = XToken::Kind::Guid;
    token->text = std::move(guid);
    return {};
}

}  // namespace tetrakon
