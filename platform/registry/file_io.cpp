#include "platform/registry/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace tetrakon {
namespace {

std::string ParentDirectory(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes a finished rename durable: the directory entry is flushed too.
void SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FileReadOutcome ReadFileBounded(const std::string& path, std::size_t limit, std::string* bytes) {
    bytes->clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? FileReadOutcome::Missing : FileReadOutcome::Unreadable;
    }
    FileReadOutcome outcome = FileReadOutcome::Read;
    std::vector<char> chunk(64 * 1024);
    while (true) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            outcome = FileReadOutcome::Unreadable;
            break;
        }
        if (got == 0) {
            break;
        }
        if (bytes->size() + static_cast<std::size_t>(got) > limit) {
            outcome = FileReadOutcome::TooLarge;
            break;
        }
        bytes->append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (outcome != FileReadOutcome::Read) {
        bytes->clear();
    }
    return outcome;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(ParentDirectory(path));
    return true;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::size_t position = 0;
    while (position != std::string::npos) {
        position = path.find('/', position + 1);
        const std::string prefix = path.substr(0, position);
        if (::mkdir(prefix.c_str(), 0700) != 0 && !IsDirectory(prefix)) {
            return false;
        }
    }
    return IsDirectory(path);
}

FileLock::FileLock(const std::string& lockPath) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    int locked = -1;
    do {
        locked = ::flock(fd_, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor releases the lock
    }
}

}  // namespace tetrakon
