#include "platform/registry/registry_file.h"

#include <cerrno>
#include <cstdio>

#include "gfxutil/file_io.h"
#include "platform/registry/reg_file_format.h"

namespace tetrakon {
namespace {

// What a missing, corrupt or unreadable file is replaced with, before the changes.
constexpr std::string_view kEmptyRegFile = "REGEDIT4\n\n";

// The bytes of the file, or why there are none: `*missing` for no file, else the refusal.
RefusedFile ReadBytes(const RegistryFiles& files, std::string* bytes, FileStamp* stamp,
                      bool* missing) {
    *missing = false;
    switch (ReadFileBounded(files.file, kMaxRegFileBytes, bytes, stamp)) {
        case FileReadOutcome::Missing:
            *missing = true;
            break;
        case FileReadOutcome::Unreadable:
            return RefusedFile::Unreadable;
        case FileReadOutcome::NotRegular:
            return RefusedFile::NotRegular;
        case FileReadOutcome::TooLarge:
            return RefusedFile::TooLarge;
        case FileReadOutcome::Read:
            break;
    }
    return RefusedFile::None;
}

// Keeps what the user had before a clean file replaces it: a copy of bytes that were
// read, or the file itself (whatever it is) moved aside when it could not be read.
WriteOutcome KeepBadFile(const RegistryFiles& files, RefusedFile refused,
                         const std::string& bytes) {
    if (refused == RefusedFile::Corrupt) {
        return WriteFileAtomically(files.bad, bytes);
    }
    if (std::rename(files.file.c_str(), files.bad.c_str()) != 0) {
        return {WriteFailure::System, errno};
    }
    return {};
}

SaveReport Unsaved(SaveProblem problem, int error = 0) {
    return SaveReport{problem, error, RefusedFile::None};
}

SaveReport Report(const WriteOutcome& outcome, RefusedFile setAside) {
    if (outcome.failure == WriteFailure::OwnerNotKept) {
        return Unsaved(SaveProblem::OtherOwner);
    }
    return outcome ? SaveReport{SaveProblem::None, 0, setAside}
                   : Unsaved(SaveProblem::SystemError, outcome.error);
}

}  // namespace

RegistryFiles::RegistryFiles(const std::string& dir)
    : directory(dir),
      file(dir + "/registry.reg"),
      lock(dir + "/registry.reg.lock"),
      bad(dir + "/registry.reg.bad") {}

RegistryContents LoadRegistryFile(const RegistryFiles& files) {
    RegistryContents contents;
    std::string bytes;
    bool missing = false;
    if (ReadBytes(files, &bytes, nullptr, &missing) == RefusedFile::None &&
        !ParseRegFile(bytes, &contents)) {
        contents = RegistryContents();
    }
    return contents;
}

RegKeyEntry LoadRegistryKey(const RegistryFiles& files, std::string_view path,
                            std::optional<FileStamp>* stamp,
                            std::span<const std::string_view> onlyNames) {
    RegKeyEntry key{std::string(path)};
    std::string bytes;
    FileStamp read;
    bool missing = false;
    const RefusedFile refused = ReadBytes(files, &bytes, &read, &missing);
    stamp->reset();
    if (refused == RefusedFile::None && !missing) {
        *stamp = read;
        if (!ParseRegKey(bytes, &key, onlyNames)) {
            key = RegKeyEntry(std::string(path));
        }
    }
    return key;
}

SaveReport MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes) {
    if (!MakeDirectories(files.directory)) {
        return Unsaved(SaveProblem::SystemError, errno);
    }
    const FileLock fileLock(files.lock, kRegistryLockPatience);
    if (!fileLock.Held()) {
        return fileLock.Busy() ? Unsaved(SaveProblem::LockBusy)
                               : Unsaved(SaveProblem::SystemError, fileLock.Error());
    }
    std::string bytes;
    bool missing = false;
    RefusedFile refused = ReadBytes(files, &bytes, nullptr, &missing);
    std::string text;
    if (refused == RefusedFile::None && !missing && !MergeRegText(bytes, changes, &text)) {
        refused = RefusedFile::Corrupt;
    }
    if (refused != RefusedFile::None || missing) {
        MergeRegText(kEmptyRegFile, changes, &text);
    }
    // A file the reader would refuse is never written: the old one stays as it is.
    if (text.size() > kMaxRegFileBytes) {
        return Unsaved(SaveProblem::TooLarge);
    }
    // Nor is one the user made read-only, or another user's that is not open to the user.
    if (!PermissionsAllowWrite(files.file)) {
        return Unsaved(SaveProblem::ReadOnly);
    }
    RemoveStaleTemporaries(files.file);
    RemoveStaleTemporaries(files.bad);
    if (refused != RefusedFile::None) {
        if (const WriteOutcome kept = KeepBadFile(files, refused, bytes); !kept) {
            return Report(kept, RefusedFile::None);
        }
    }
    return Report(WriteFileAtomically(files.file, text), refused);
}

}  // namespace tetrakon
