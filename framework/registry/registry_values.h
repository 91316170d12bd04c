#pragma once

#include <cstdint>

#include "gfxutil/result.h"
#include "platform/registry/registry_key.h"

namespace tetrakon {

// Single registry values read with a default and written, on a key the caller opened.
// Reads always leave a usable destination; their result codes say whether the stored
// value was taken (S_OK) or the default (E_FAIL).

// Reads a string value into `destination` (`destinationSize` bytes, terminator included).
// A missing value, a null key, or one whose data does not fit with its terminator, gives
// `defaultText`, cut to fit and terminated at the last position.
// E_INVALIDARG, with nothing written, for a null destination or a size of 0.
Result ReadRegString(const RegistryKey* key, const char* name, char* destination,
                     std::uint32_t destinationSize, const char* defaultText);

// Reads a 32-bit number; a missing value or one stored with other than 4 bytes gives
// `defaultValue`.
Result ReadRegDword(const RegistryKey* key, const char* name, std::uint32_t* destination,
                    std::uint32_t defaultValue);

// Stores `text` and its terminator as a string value; E_INVALIDARG for a null text.
Result WriteRegString(RegistryKey* key, const char* name, const char* text);

// Stores a 32-bit number value.
Result WriteRegDword(RegistryKey* key, const char* name, std::uint32_t value);

}  // namespace tetrakon
