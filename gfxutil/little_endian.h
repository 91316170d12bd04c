#pragma once

#include <cstdint>

namespace tetrakon {

// Unsigned numbers stored least significant byte first, as the X file format, the icon
// file directory and the registry's DWORD values store them. `p` must point at enough bytes.
inline std::uint16_t LoadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Writes `value` as four bytes, least significant first, whatever the machine's own order.
inline void StoreLe32(std::uint32_t value, std::uint8_t* p) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace tetrakon
