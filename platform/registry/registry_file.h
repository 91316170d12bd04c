#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfxutil/file_io.h"
#include "platform/registry/registry_contents.h"

namespace tetrakon {

// Where one registry lives: `directory`/registry.reg, its lock file and the place a
// corrupt copy is kept.
struct RegistryFiles {
    explicit RegistryFiles(const std::string& directory);

    std::string directory;
    std::string file;  // registry.reg
    std::string lock;  // registry.reg.lock
    std::string bad;   // registry.reg.bad
};

// The file's contents; empty when it is missing, unreadable or corrupt.
RegistryContents LoadRegistryFile(const RegistryFiles& files);

// The values of the key `path` (a full path such as HKEY_CURRENT_USER\Software\Tetrakon),
// holding no other key in memory, and only those named in `onlyNames` unless it is empty.
// None when the file is missing, not a regular file, over the size limit or corrupt.
// `stamp` receives the stamp of the file read when it was a regular file within the
// limit, else nothing.
RegKeyEntry LoadRegistryKey(const RegistryFiles& files, std::string_view path,
                            std::optional<FileStamp>* stamp,
                            std::span<const std::string_view> onlyNames = {});

// How long a save waits for another process's lock on the file before it gives up: a
// close must not hang on a lock that is never released.
constexpr std::chrono::milliseconds kRegistryLockPatience{1500};

enum class MergeOutcome { Written, LockBusy, Failed };

// Under the lock: reads the file again, sets the values of `changes` in its key (created
// when missing) and writes the file back atomically, keeping every other line of it byte
// for byte (see MergeRegText). A link to the file stays a link: its final target is
// replaced. A corrupt or unreadable file is first kept as registry.reg.bad and then
// replaced by a clean one; when it cannot be kept, nothing is written. Nor is anything
// written when the new file would be over kMaxRegFileBytes, which the reader refuses, or
// when another process held the lock for all of kRegistryLockPatience (LockBusy).
// Temporaries left by killed writers are removed first.
MergeOutcome MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes);

}  // namespace tetrakon
