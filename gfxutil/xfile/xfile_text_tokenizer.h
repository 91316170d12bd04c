#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {

// Splits the body of a text X file (everything after the 16-byte header) into tokens.
// Comments run from "//" or "#" to the end of the line.
class XTextTokenizer final : public XTokenSource {
  public:
    explicit XTextTokenizer(std::span<const std::uint8_t> body) : data_(body) {}
    XStatus Next(XToken* token) override;

  private:
    void SkipSpaceAndComments();
    XStatus ReadNumber(XToken* token);
    XStatus ReadString(XToken* token);
    XStatus ReadGuid(XToken* token);
    std::string Where() const;

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace tetrakon
