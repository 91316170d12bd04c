#include "framework/registry/registry_values.h"

#include <cstring>

namespace tetrakon {
namespace {

void CopyDefaultText(char* destination, std::uint32_t destinationSize, const char* defaultText) {
    std::strncpy(destination, defaultText != nullptr ? defaultText : "", destinationSize);
    destination[destinationSize - 1] = '\0';
}

// True when the stored string fits with a terminator; adds one when it was stored
// without, so the destination is always a terminated text.
bool QueryTerminatedString(const RegistryKey& key, const char* name, char* destination,
                           std::uint32_t destinationSize) {
    std::uint32_t size = destinationSize;
    if (key.QueryValue(name, nullptr, reinterpret_cast<std::uint8_t*>(destination), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    if (std::memchr(destination, '\0', size) != nullptr) {
        return true;
    }
    if (size >= destinationSize) {
        return false;
    }
    destination[size] = '\0';
    return true;
}

}  // namespace

Result ReadRegString(const RegistryKey* key, const char* name, char* destination,
                     std::uint32_t destinationSize, const char* defaultText) {
    if (destination == nullptr || destinationSize == 0) {
        return E_INVALIDARG;
    }
    if (key != nullptr && QueryTerminatedString(*key, name, destination, destinationSize)) {
        return S_OK;
    }
    CopyDefaultText(destination, destinationSize, defaultText);
    return E_FAIL;
}

Result ReadRegDword(const RegistryKey* key, const char* name, std::uint32_t* destination,
                    std::uint32_t defaultValue) {
    if (destination == nullptr) {
        return E_INVALIDARG;
    }
    std::uint8_t bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    if (key == nullptr || key->QueryValue(name, nullptr, bytes, &size) != ERROR_SUCCESS ||
        size != sizeof bytes) {
        *destination = defaultValue;
        return E_FAIL;
    }
    // Stored little-endian, as the platform's 32-bit number type is.
    *destination =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return S_OK;
}

Result WriteRegString(RegistryKey* key, const char* name, const char* text) {
    if (key == nullptr || text == nullptr) {
        return E_INVALIDARG;
    }
    const std::size_t length = std::strlen(text) + 1;
    if (length > kMaxRegValueBytes) {
        return E_INVALIDARG;
    }
    const RegStatus status =
        key->SetValue(name, REG_SZ, reinterpret_cast<const std::uint8_t*>(text),
                      static_cast<std::uint32_t>(length));
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

Result WriteRegDword(RegistryKey* key, const char* name, std::uint32_t value) {
    if (key == nullptr) {
        return E_INVALIDARG;
    }
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return key->SetValue(name, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS ? S_OK : E_FAIL;
}

}  // namespace tetrakon
