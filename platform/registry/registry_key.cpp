#include "platform/registry/registry_key.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace tetrakon {
namespace {

bool ValidValueName(std::string_view name) {
    if (name.size() > kMaxRegNameLength) {
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

RegistryKey::RegistryKey(RegistryFiles files, RegKeyEntry loaded)
    : files_(std::move(files)), values_(std::move(loaded)), changes_(values_.Path()) {}

RegistryKey::~RegistryKey() {
    if (open_) {
        Close();
    }
}

RegStatus RegistryKey::QueryValue(const char* name, RegType* type, std::uint8_t* data,
                                  std::uint32_t* size) const {
    if (!open_) {
        return ERROR_INVALID_HANDLE;
    }
    if (data != nullptr && size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const RegValue* value = values_.Find(name == nullptr ? "" : name);
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto stored = static_cast<std::uint32_t>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (data != nullptr) {
        if (*size < stored) {
            *size = stored;
            return ERROR_MORE_DATA;
        }
        if (stored > 0) {
            std::memcpy(data, value->data.data(), stored);
        }
    }
    if (size != nullptr) {
        *size = stored;
    }
    return ERROR_SUCCESS;
}

RegStatus RegistryKey::SetValue(const char* name, RegType type, const std::uint8_t* data,
                                std::uint32_t size) {
    if (!open_) {
        return ERROR_INVALID_HANDLE;
    }
    const std::string_view valueName = name == nullptr ? "" : name;
    if ((data == nullptr && size > 0) || size > kMaxRegValueBytes || !ValidValueName(valueName)) {
        return ERROR_INVALID_PARAMETER;
    }
    RegValue value{type, std::vector<std::uint8_t>(data, data + size)};
    values_.Set(valueName, value);
    changes_.Set(valueName, std::move(value));
    return ERROR_SUCCESS;
}

RegStatus RegistryKey::Close() {
    if (!open_) {
        return ERROR_INVALID_HANDLE;
    }
    open_ = false;
    if (changes_.Values().empty()) {
        return ERROR_SUCCESS;
    }
    saved_ = MergeIntoRegistryFile(files_, changes_);
    switch (saved_.problem) {
        case SaveProblem::None:
            return ERROR_SUCCESS;
        case SaveProblem::LockBusy:
            return ERROR_LOCK_VIOLATION;
        case SaveProblem::ReadOnly:
        case SaveProblem::OtherOwner:
            return ERROR_ACCESS_DENIED;
        case SaveProblem::TooLarge:
        case SaveProblem::SystemError:
            break;
    }
    return ERROR_REGISTRY_IO_FAILED;
}

}  // namespace tetrakon
