#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfxutil/xfile/xfile_token.h"

namespace tetrakon {

// Reads the binary token encoding (everything after the 16-byte header). Integer and
// float lists come out one number at a time; a list's count is checked against the bytes
// left before any of it is read.
class XBinaryTokenizer final : public XTokenSource {
  public:
    XBinaryTokenizer(std::span<const std::uint8_t> body, int floatBits)
        : data_(body), floatBits_(floatBits) {}
    XStatus Next(XToken* token) override;

  private:
    bool Read16(std::uint16_t* value);
    bool Read32(std::uint32_t* value);
    XStatus ReadBytes(std::uint32_t count, std::string* out);
    XStatus ReadGuid(XToken* token);
    XStatus StartList(bool floats);
    void NextListItem(XToken* token);
    std::string Where() const;

    std::span<const std::uint8_t> data_;
    int floatBits_;
    std::size_t pos_ = 0;
    std::uint32_t listLeft_ = 0;
    bool listIsFloat_ = false;
};

}  // namespace tetrakon
