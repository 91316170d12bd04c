#pragma once

// What the reading, writing and merging of registry files share: the header line, the
// walk over a file's keys and values, and the line a value is written as.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry/registry_contents.h"

namespace tetrakon {

inline constexpr std::string_view kRegHeader = "REGEDIT4";

inline bool IsRegControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Told of each key header and each value of a file, with where its lines lie in the text:
// from the start of its first line to the start of the line after its last.
class RegTextVisitor {
  public:
    virtual void Key(std::string_view path, std::size_t end) = 0;
    virtual void Value(const std::string& name, RegValue value, std::size_t begin,
                       std::size_t end) = 0;

  protected:
    ~RegTextVisitor() = default;
};

// Checks the whole text and tells `visitor` of every key and value in order; false for
// anything that is not a registry file.
bool ParseRegText(std::string_view text, RegTextVisitor& visitor);

// Appends the line (or wrapped lines) of one value, with its line end.
void AppendRegValue(std::string* out, const RegNamedValue& named);

}  // namespace tetrakon
