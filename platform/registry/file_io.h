#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tetrakon {

enum class FileReadOutcome { Read, Missing, Unreadable, TooLarge };

// Reads a whole file of at most `limit` bytes.
FileReadOutcome ReadFileBounded(const std::string& path, std::size_t limit, std::string* bytes);

// Replaces `path` by a file holding `bytes`: writes a temporary file in the same
// directory, flushes it to disk and renames it over `path`, so that a crash at any moment
// leaves either the old file or the new one, never a part of either.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Creates the directory and its missing parents, private to the user.
bool MakeDirectories(const std::string& path);

// An exclusive advisory lock on a lock file (created when missing), held until
// destruction. Processes that take the same lock around a read-modify-write of a file
// never interleave their changes.
class FileLock {
  public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace tetrakon
