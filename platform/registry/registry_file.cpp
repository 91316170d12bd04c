#include "platform/registry/registry_file.h"

#include <cstdio>

#include "platform/registry/file_io.h"
#include "platform/registry/reg_file_format.h"

namespace tetrakon {
namespace {

enum class FileState { Parsed, Missing, Corrupt, Unreadable };

FileState ReadRegistryFile(const RegistryFiles& files, RegistryContents* contents,
                           std::string* bytes) {
    switch (ReadFileBounded(files.file, kMaxRegFileBytes, bytes)) {
        case FileReadOutcome::Missing:
            return FileState::Missing;
        case FileReadOutcome::Unreadable:
        case FileReadOutcome::TooLarge:
            return FileState::Unreadable;
        case FileReadOutcome::Read:
            break;
    }
    if (ParseRegFile(*bytes, contents)) {
        return FileState::Parsed;
    }
    *contents = RegistryContents();
    return FileState::Corrupt;
}

// Keeps what the user had before a clean file replaces it: a copy of bytes that were
// read, or the file itself moved aside when it could not be read.
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

bool MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes) {
    if (!MakeDirectories(files.directory)) {
        return false;
    }
    const FileLock fileLock(files.lock);
    if (!fileLock.Held()) {
        return false;
    }
    RegistryContents contents;
    std::string bytes;
    const FileState state = ReadRegistryFile(files, &contents, &bytes);
    if ((state == FileState::Corrupt || state == FileState::Unreadable) &&
        !KeepBadFile(files, state, bytes)) {
        return false;
    }
    RegKeyEntry& key = contents.Key(changes.Path());
    for (const RegNamedValue& change : changes.Values()) {
        key.Set(change.name, change.value);
    }
    return WriteFileAtomically(files.file, FormatRegFile(contents));
}

}  // namespace tetrakon
