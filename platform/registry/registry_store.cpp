#include "platform/registry/registry_store.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "gfxutil/ascii.h"
#include "platform/registry/file_io.h"

namespace tetrakon {
namespace {

constexpr std::string_view kCurrentUserRoot = "HKEY_CURRENT_USER";

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

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

RegistryStore::RegistryStore(const std::string& configDirectory)
    : files_(configDirectory + "/Tetrakon"), located_(!configDirectory.empty()) {}

std::string RegistryStore::DefaultConfigDirectory() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/.config";
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
        RegKeyEntry values = LoadRegistryKey(files_, path, &stamp);
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
