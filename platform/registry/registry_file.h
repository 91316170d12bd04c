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

// What a save found where the file should be, when it was not a registry file to merge
// into: read but not parsed (Corrupt), or not read at all.
enum class RefusedFile { None, Corrupt, NotRegular, TooLarge, Unreadable };

// Why a save wrote nothing.
enum class SaveProblem {
    None,
    LockBusy,     // another process held the lock for all of kRegistryLockPatience
    TooLarge,     // the new file would be over kMaxRegFileBytes
    ReadOnly,     // the file's permission bits do not let the user write it
    OtherOwner,   // the file is another user's, who would lose it
    SystemError,  // a call failed: `error` says why
};

struct SaveReport {
    SaveProblem problem = SaveProblem::None;
    int error = 0;                             // the errno of a SystemError
    RefusedFile setAside = RefusedFile::None;  // the old file, kept as registry.reg.bad
};

// Under the lock: reads the file again, sets the values of `changes` in its key (created
// when missing) and writes the file back atomically, keeping every other line of it byte
// for byte (see MergeRegText), and its mode and owner. A link to the file stays a link:
// its final target is replaced. A corrupt or unreadable file is first kept as
// registry.reg.bad and then replaced by a clean one; when it cannot be kept, nothing is
// written. Nor is anything written when the new file would be over kMaxRegFileBytes, which
// the reader refuses, when the file's permission bits keep the user from writing it, or
// when another process held the lock for all of kRegistryLockPatience. Temporaries left by
// killed writers are removed first.
SaveReport MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes);

}  // namespace tetrakon
