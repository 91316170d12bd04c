#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tetrakon {

// Status codes of the registry calls, with the platform's numbers.
using RegStatus = std::int32_t;
constexpr RegStatus ERROR_SUCCESS = 0;
constexpr RegStatus ERROR_FILE_NOT_FOUND = 2;
constexpr RegStatus ERROR_ACCESS_DENIED = 5;
constexpr RegStatus ERROR_LOCK_VIOLATION = 33;
constexpr RegStatus ERROR_INVALID_PARAMETER = 87;
constexpr RegStatus ERROR_MORE_DATA = 234;
constexpr RegStatus ERROR_INVALID_HANDLE = 6;
constexpr RegStatus ERROR_REGISTRY_IO_FAILED = 1016;

// Value types, with the platform's numbers. Types other than these three are kept as
// raw bytes with their number.
using RegType = std::uint32_t;
constexpr RegType REG_NONE = 0;
constexpr RegType REG_SZ = 1;
constexpr RegType REG_BINARY = 3;
constexpr RegType REG_DWORD = 4;

// The only root this store holds.
enum class RegRoot { CurrentUser };

// Stored data over this size is refused when set and makes a file that holds it corrupt.
constexpr std::size_t kMaxRegValueBytes = 1024 * 1024;
// Longest value name and longest key path accepted.
constexpr std::size_t kMaxRegNameLength = 16383;

struct RegValue {
    RegType type = REG_NONE;
    std::vector<std::uint8_t> data;

    bool operator==(const RegValue&) const = default;
};

}  // namespace tetrakon
