#include "platform/registry/registry_store.h"

#include <utility>
#include <vector>

#include "gfxutil/ascii.h"
#include "gfxutil/file_io.h"

namespace tetrakon {
namespace {

constexpr std::string_view kCurrentUserRoot = "HKEY_CURRENT_USER";

// Components separated by single backslashes, each non-empty and printable.
bool ValidSubKey(std::string_view subKey) {
    if (subKey.empty() || subKey.size() > kMaxRegNameLength || subKey.front() == '\\' ||
        subKey.back() == '\\' || subKey.find("\\\\") != std::string_view::npos) {
        return false;
    }
    for (char c : subKey) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '[' || c == ']') {
            return false;
        }
    }
    return true;
}

}  // namespace

RegistryStore::RegistryStore(const std::string& configDirectory,
                             std::vector<std::string> valueNames)
    : files_(configDirectory + "/Tetrakon"),
      located_(!configDirectory.empty()),
      valueNames_(std::move(valueNames)) {}

std::string RegistryStore::DefaultConfigDirectory() {
    return XdgBaseDirectory("XDG_CONFIG_HOME", ".config");
}

RegStatus RegistryStore::CreateKey(RegRoot root, std::string_view subKey,
                                   std::unique_ptr<RegistryKey>* key) const {
    if (root != RegRoot::CurrentUser || !ValidSubKey(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!located_ || !MakeDirectories(files_.directory)) {
        return ERROR_ACCESS_DENIED;
    }
    const std::string path = std::string(kCurrentUserRoot) + "\\" + std::string(subKey);
    FileStamp now;
    const bool unchanged = loaded_ && EqualsIgnoringCase(loaded_->values.Path(), path) &&
                           StampFile(files_.file, &now) && now == loaded_->stamp;
    if (!unchanged) {
        std::optional<FileStamp> stamp;
        const std::vector<std::string_view> names(valueNames_.begin(), valueNames_.end());
        RegKeyEntry values = LoadRegistryKey(files_, path, &stamp, names);
        loaded_.reset();
        if (!stamp) {
            *key = std::make_unique<RegistryKey>(files_, std::move(values));
            return ERROR_SUCCESS;
        }
        loaded_ = LoadedKey{*stamp, std::move(values)};
    }
    *key = std::make_unique<RegistryKey>(files_, loaded_->values);
    return ERROR_SUCCESS;
}

}  // namespace tetrakon
