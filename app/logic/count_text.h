#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tetrakon {

// The number of shuffle turns as the presets dialog's edit box shows it: signed decimal.
std::string CountText(std::int32_t count);

// The edit box's text read back as a number: leading blanks skipped, an optional sign, then
// the digits up to the first non-digit. Text that does not start with a number gives 0;
// numbers beyond the 32-bit range stop at its ends.
std::int32_t CountFromText(std::string_view text);

}  // namespace tetrakon
