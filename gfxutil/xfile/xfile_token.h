#pragma once

// The token stream shared by the text and binary readers: both encodings are turned into
// the same tokens, so one parser builds the object tree from either.

#include <cstdint>
#include <string>
#include <string_view>

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

struct XToken {
    enum class Kind {
        End,
        Name,  // identifiers, and the primitive type keywords and "array" of binary files
        String,
        Integer,
        Float,
        Guid,  // text without the angle brackets, upper case
        Template,
        OpenBrace,
        CloseBrace,
        OpenBracket,
        CloseBracket,
        Comma,
        Semicolon,
        Dot,
        Other,  // parentheses and angle brackets, which no data object uses
    };
    Kind kind = Kind::End;
    std::string text;  // Name, String, Guid
    std::int64_t integer = 0;
    double number = 0;
};

class XTokenSource {
  public:
    virtual ~XTokenSource() = default;
    // The next token, or End when the data is used up; a failure for malformed data.
    virtual XStatus Next(XToken* token) = 0;
};

// A name as it may appear in a one-line message: at most 40 characters, with control and
// non-ASCII bytes (binary names may hold any byte) shown as '?'.
inline std::string PrintableXName(std::string_view name) {
    std::string out(name.substr(0, 40));
    for (char& c : out) {
        if (c < 0x20 || c > 0x7E)
            c = '?';
    }
    return out;
}

inline XStatus XFail(XError code, std::string message) {
    return XStatus{code, std::move(message)};
}

}  // namespace tetrakon
