#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_file.h"
#include "platform/registry/registry_key.h"
#include "platform/registry/registry_types.h"

namespace tetrakon {

// The per-user registry, kept in one file Tetrakon/registry.reg under the user's
// configuration directory. Only the current user's root exists. For one thread at a time.
class RegistryStore {
  public:
    // With `valueNames`, a key opened holds only the values of those names (the others
    // stay in the file, untouched by saves, but cost no memory).
    explicit RegistryStore(const std::string& configDirectory,
                           std::vector<std::string> valueNames = {});

    // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config: the directory
    // Qt calls the generic configuration location. Empty when neither is known.
    static std::string DefaultConfigDirectory();

    // RegCreateKeyExA: opens `subKey` (for example "Software\\Tetrakon") with full access,
    // creating the store's directory when missing, and reads the key's values. A missing,
    // unreadable or corrupt file gives a key with no values. ERROR_ACCESS_DENIED when the
    // directory is unknown or cannot be created, ERROR_INVALID_PARAMETER for an empty or malformed
    // path. The file is read and parsed only when it changed since the key was last
    // opened through this store.
    RegStatus CreateKey(RegRoot root, std::string_view subKey,
                        std::unique_ptr<RegistryKey>* key) const;

    const std::string& FilePath() const { return files_.file; }
    const std::string& Directory() const { return files_.directory; }

  private:
    RegistryFiles files_;
    bool located_;                         // false without a configuration directory: no key opens
    std::vector<std::string> valueNames_;  // empty: every value

    // The key last opened, as read from the file with this stamp.
    struct LoadedKey {
        FileStamp stamp;
        RegKeyEntry values;
    };
    mutable std::optional<LoadedKey> loaded_;
};

}  // namespace tetrakon
