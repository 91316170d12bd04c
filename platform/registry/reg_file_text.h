#pragma once

// What the reading, writing and merging of registry files share: the header lines, the
// encodings, the walk over a file's keys and values, and the line a value is written as.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry_contents.h"

namespace tetrakon {

inline constexpr std::string_view kRegHeader = "REGEDIT4";
// The header of the platform's editor's exports since 2000.
inline constexpr std::string_view kRegHeader5 = "Windows Registry Editor Version 5.00";

// The text of a registry file's bytes, which are UTF-8 or, as the platform's editor exports
// by default, UTF-16LE with a byte-order mark: the bytes themselves, or their UTF-8 form
// made in `decoded` (the mark becoming UTF-8's). Nothing for bytes over kMaxRegFileBytes or
// broken UTF-16.
std::optional<std::string_view> RegFileText(std::string_view bytes, std::string* decoded);

// `text` in the encoding of the file `original` came in (see RegFileText), in `bytes`;
// false when `text` cannot be encoded so.
bool EncodeLike(std::string_view original, std::string_view text, std::string* bytes);

// Well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool IsUtf8(std::string_view text);

// The key `path` is `root` or lies below it: a deletion of `root` deletes it.
bool InKeyTree(std::string_view path, std::string_view root);

inline bool IsRegControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Told of each key header and each value of a file, with where its lines lie in the text:
// from the start of its first line to the start of the line after its last. The deletions
// of the editor's import syntax come as such: a header [-PATH] deletes the key and every
// key below it, a value "Name"=- (given no value) deletes that value.
class RegTextVisitor {
  public:
    virtual void Key(std::string_view path, std::size_t end) = 0;
    virtual void KeyDeleted(std::string_view path) = 0;
    virtual void Value(const std::string& name, std::optional<RegValue> value, std::size_t begin,
                       std::size_t end) = 0;

  protected:
    ~RegTextVisitor() = default;
};

// Checks the whole text (as RegFileText gives it) and tells `visitor` of every key and
// value in order; false for anything that is not a registry file.
bool ParseRegText(std::string_view text, RegTextVisitor& visitor);

// Appends the line (or wrapped lines) of one value, with its line end.
void AppendRegValue(std::string* out, const RegNamedValue& named);

}  // namespace tetrakon
