#include "platform/registry/registry_file.h"

#include <cstdio>

#include "gfxutil/file_io.h"
#include "platform/registry/reg_file_format.h"

namespace tetrakon {
namespace {

// Corrupt: read but not parsed. Unreadable: not read at all (no access, not a regular
// file, over the size limit).
enum class FileState { Parsed, Missing, Corrupt, Unreadable };

// What a missing, corrupt or unreadable file is replaced with, before the changes.
constexpr std::string_view kEmptyRegFile = "REGEDIT4\n\n";

FileState ReadBytes(const RegistryFiles& files, std::string* bytes, FileStamp* stamp) {
    switch (ReadFileBounded(files.file, kMaxRegFileBytes, bytes, stamp)) {
        case FileReadOutcome::Missing:
            return FileState::Missing;
        case FileReadOutcome::Unreadable:
        case FileReadOutcome::NotRegular:
        case FileReadOutcome::TooLarge:
            return FileState::Unreadable;
        case FileReadOutcome::Read:
            break;
    }
    return FileState::Parsed;
}

FileState ReadRegistryFile(const RegistryFiles& files, RegistryContents* contents,
                           std::string* bytes) {
    const FileState state = ReadBytes(files, bytes, nullptr);
    if (state != FileState::Parsed || ParseRegFile(*bytes, contents)) {
        return state;
    }
    *contents = RegistryContents();
    return FileState::Corrupt;
}

// Keeps what the user had before a clean file replaces it: a copy of bytes that were
// read, or the file itself (whatever it is) moved aside when it could not be read.
bool KeepBadFile(const RegistryFiles& files, FileState state, const std::string& bytes) {
    if (state == FileState::Corrupt) {
        return WriteFileAtomically(files.bad, bytes);
    }
    return std::rename(files.file.c_str(), files.bad.c_str()) == 0;
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
    ReadRegistryFile(files, &contents, &bytes);
    return contents;
}

RegKeyEntry LoadRegistryKey(const RegistryFiles& files, std::string_view path,
                            std::optional<FileStamp>* stamp,
                            std::span<const std::string_view> onlyNames) {
    RegKeyEntry key{std::string(path)};
    std::string bytes;
    FileStamp read;
    const FileState state = ReadBytes(files, &bytes, &read);
    stamp->reset();
    if (state == FileState::Parsed) {
        *stamp = read;
        if (!ParseRegKey(bytes, &key, onlyNames)) {
            key = RegKeyEntry(std::string(path));
        }
    }
    return key;
}

MergeOutcome MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes) {
    if (!MakeDirectories(files.directory)) {
        return MergeOutcome::Failed;
    }
    const FileLock fileLock(files.lock, kRegistryLockPatience);
    if (!fileLock.Held()) {
        return fileLock.Busy() ? MergeOutcome::LockBusy : MergeOutcome::Failed;
    }
    std::string bytes;
    FileState state = ReadBytes(files, &bytes, nullptr);
    std::string text;
    if (state == FileState::Parsed && !MergeRegText(bytes, changes, &text)) {
        state = FileState::Corrupt;
    }
    if (state != FileState::Parsed) {
        MergeRegText(kEmptyRegFile, changes, &text);
    }
    // A file the reader would refuse is never written: the old one stays as it is.
    if (text.size() > kMaxRegFileBytes) {
        return MergeOutcome::Failed;
    }
    RemoveStaleTemporaries(files.file);
    RemoveStaleTemporaries(files.bad);
    if ((state == FileState::Corrupt || state == FileState::Unreadable) &&
        !KeepBadFile(files, state, bytes)) {
        return MergeOutcome::Failed;
    }
    return WriteFileAtomically(files.file, text) ? MergeOutcome::Written : MergeOutcome::Failed;
}

}  // namespace tetrakon
