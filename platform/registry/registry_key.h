#pragma once

#include <cstdint>

#include "platform/registry/registry_contents.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_types.h"

namespace tetrakon {

// An open key, with the calls of the platform's registry. Its values were read when it
// was opened; values set through it are written to the file when it is closed.
class RegistryKey {
  public:
    RegistryKey(RegistryFiles files, RegKeyEntry loaded);
    // Closes the key if Close was not called; a failure to write then goes unreported.
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegQueryValueExA: a null or empty name is the key's default value. With `data`
    // null only the size is reported. ERROR_MORE_DATA, with `*size` set to the size
    // needed and the buffer unspecified, when the stored data is larger than `*size`;
    // ERROR_FILE_NOT_FOUND for a missing value. `type` may be null.
    RegStatus QueryValue(const char* name, RegType* type, std::uint8_t* data,
                         std::uint32_t* size) const;

    // RegSetValueExA: stores exactly `size` bytes of `data` with `type`.
    // ERROR_INVALID_PARAMETER for data over kMaxRegValueBytes or a name with control
    // characters or over kMaxRegNameLength characters.
    RegStatus SetValue(const char* name, RegType type, const std::uint8_t* data,
                       std::uint32_t size);

    // RegCloseKey: when values were set, merges them into the file under its lock (see
    // MergeIntoRegistryFile); ERROR_LOCK_VIOLATION when another process kept the lock
    // too long, ERROR_ACCESS_DENIED when the file is not the user's to write,
    // ERROR_REGISTRY_IO_FAILED when it could not be written otherwise.
    // Every call on a closed key gives ERROR_INVALID_HANDLE.
    RegStatus Close();

    // What the close did with the file, in more detail than its status.
    const SaveReport& Saved() const { return saved_; }

  private:
    RegistryFiles files_;
    RegKeyEntry values_;   // as read at opening, with this key's own changes applied
    RegKeyEntry changes_;  // only the values set through this key
    bool open_ = true;
    SaveReport saved_;
};

}  // namespace tetrakon
