#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace tetrakon {

// NotRegular: a pipe, device, directory or socket (or a link to one), never read.
enum class FileReadOutcome { Read, Missing, Unreadable, NotRegular, TooLarge };

// Which file was read and in which state: two stamps compare equal only when no write
// can have come between them.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
};

// The stamp of the file `path` names now (following links); false when there is none.
bool StampFile(const std::string& path, FileStamp* stamp);

// Reads a whole regular file of at most `limit` bytes. The type is checked on the open
// descriptor, and the open itself never waits, so a pipe or device put in the file's
// place cannot hang the caller. `stamp`, when given, receives the stamp of the file
// opened whenever it was a regular file.
FileReadOutcome ReadFileBounded(const std::string& path, std::size_t limit, std::string* bytes,
                                FileStamp* stamp = nullptr);

// Where a write to `path` goes: when `path` is a symbolic link (through any number of
// links) to a regular file, that file's own path, so that the link is kept; otherwise
// `path` itself (a dangling link, a loop or a link to anything else is replaced).
std::string WriteTarget(const std::string& path);

// Why WriteFileAtomically wrote nothing: the old file's owner could not be given to the new
// one, or a system call failed (with its errno).
enum class WriteFailure { None, OwnerNotKept, System };
struct WriteOutcome {
    WriteFailure failure = WriteFailure::None;
    int error = 0;

    explicit operator bool() const { return failure == WriteFailure::None; }
};

// Replaces WriteTarget(`path`) by a file holding `bytes`: writes a temporary file in the
// same directory, flushes it to disk and renames it over the target, so that a crash at
// any moment leaves either the old file or the new one, never a part of either. The
// temporary is named after the target + ".tmp" + six characters. The new file gets the
// old one's mode, owner and group (a new file is private to the user); when the owner
// cannot be kept, nothing is written.
WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whether the permission bits of WriteTarget(`path`) let this user write it, taking the
// user as the file's owner, a member of its group or anyone else, the way the bits read:
// also for root, whom the kernel would let write anyway, so that a file the user made
// read-only stays as it is. True when there is no such regular file.
bool PermissionsAllowWrite(const std::string& path);

// Removes the temporary files WriteFileAtomically left for `path` (beside `path` and
// beside its write target) when its writer was killed. Only for callers that hold the
// lock every writer of `path` holds: any temporary found then is one whose writer is gone.
void RemoveStaleTemporaries(const std::string& path);

// A per-user base directory of the XDG layout: the variable's value when it is an absolute
// path, otherwise `fallbackUnderHome` in the user's home ($HOME when absolute, else the
// password database's); empty when there is no home either.
std::string XdgBaseDirectory(const char* variable, std::string_view fallbackUnderHome);

// Creates the directory and its missing parents, private to the user.
bool MakeDirectories(const std::string& path);

// An exclusive advisory lock on a lock file (created when missing), held until
// destruction. Processes that take the same lock around a read-modify-write of a file
// never interleave their changes. A lock another holder has is waited for at most
// `patience` (not at all by default): then Held() is false, and Busy() says why.
class FileLock {
  public:
    explicit FileLock(const std::string& lockPath,
                      std::chrono::milliseconds patience = std::chrono::milliseconds(0));
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // The lock file, open for reading and writing while the lock is held; -1 otherwise.
    int Descriptor() const { return fd_; }
    // Not held because another holder kept the lock for all of the patience.
    bool Busy() const { return busy_; }
    // Why the lock file could not be opened or locked otherwise (an errno); 0 if it could.
    int Error() const { return error_; }

  private:
    int fd_ = -1;
    bool busy_ = false;
    int error_ = 0;
};

}  // namespace tetrakon
