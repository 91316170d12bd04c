#include "gfxutil/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace tetrakon {
namespace {

// What WriteFileAtomically adds to the target's name for its temporary, before the six
// characters mkstemp chooses.
constexpr std::string_view kTemporaryInfix = ".tmp";
constexpr std::size_t kTemporaryUniqueLength = 6;

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

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsTemporaryOf(std::string_view name, std::string_view base) {
    const std::size_t prefix = base.size() + kTemporaryInfix.size();
    if (name.size() != prefix + kTemporaryUniqueLength || name.substr(0, base.size()) != base ||
        name.substr(base.size(), kTemporaryInfix.size()) != kTemporaryInfix) {
        return false;
    }
    const std::string_view unique = name.substr(prefix);
    return std::all_of(unique.begin(), unique.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

void RemoveTemporariesBeside(const std::string& path) {
    DIR* directory = ::opendir(ParentDirectory(path).c_str());
    if (directory == nullptr) {
        return;
    }
    const std::string base = BaseName(path);
    while (const dirent* entry = ::readdir(directory)) {
        if (IsTemporaryOf(entry->d_name, base)) {
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
        }
    }
    ::closedir(directory);
}

FileStamp StampOf(const struct stat& info) {
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

bool IsDirectory(const std::string& path) {
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return device == other.device && inode == other.inode && size == other.size &&
           same(modified, other.modified) && same(changed, other.changed);
}

bool StampFile(const std::string& path, FileStamp* stamp) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    *stamp = StampOf(info);
    return true;
}

FileReadOutcome ReadFileBounded(const std::string& path, std::size_t limit, std::string* bytes,
                                FileStamp* stamp) {
    bytes->clear();
    // Non-blocking, so that opening a pipe with no writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return errno == ENOENT ? FileReadOutcome::Missing : FileReadOutcome::Unreadable;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileReadOutcome::NotRegular;
    }
    if (stamp != nullptr) {
        *stamp = StampOf(info);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);  // reads of a regular file wait
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        ::close(fd);
        return FileReadOutcome::TooLarge;
    }
    bytes->reserve(static_cast<std::size_t>(info.st_size));
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

std::string WriteTarget(const std::string& path) {
    struct stat info = {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target = resolved;
    std::free(resolved);
    return ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? target : path;
}

WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = WriteTarget(path);
    struct stat old = {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string temporary = target + std::string(kTemporaryInfix) + "XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return {WriteFailure::System, errno};
    }
    WriteOutcome outcome;
    const auto failed = [&outcome](WriteFailure failure) {
        if (outcome) {
            outcome = {failure, failure == WriteFailure::System ? errno : 0};
        }
    };
    // The owner first: changing it may clear the set-user and set-group bits of the mode.
    // Only root can give a file away; a group the user is not in is given up.
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && old.st_uid != ::geteuid()) {
        failed(WriteFailure::OwnerNotKept);
    }
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) {
        failed(WriteFailure::System);
    }
    if (outcome && !(WriteAll(fd, bytes) && ::fsync(fd) == 0)) {
        failed(WriteFailure::System);
    }
    if (::close(fd) != 0) {
        failed(WriteFailure::System);
    }
    if (outcome && ::rename(temporary.c_str(), target.c_str()) != 0) {
        failed(WriteFailure::System);
    }
    if (!outcome) {
        ::unlink(temporary.c_str());
        return outcome;
    }
    SyncDirectory(ParentDirectory(target));
    return outcome;
}

bool PermissionsAllowWrite(const std::string& path) {
    struct stat info = {};
    if (::stat(WriteTarget(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return true;
    }
    if (info.st_uid == ::geteuid()) {
        return (info.st_mode & S_IWUSR) != 0;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(0, ::getgroups(0, nullptr))));
    groups.resize(static_cast<std::size_t>(
        std::max(0, ::getgroups(static_cast<int>(groups.size()), groups.data()))));
    const bool member = info.st_gid == ::getegid() ||
                        std::find(groups.begin(), groups.end(), info.st_gid) != groups.end();
    return (info.st_mode & (member ? S_IWGRP : S_IWOTH)) != 0;
}

void RemoveStaleTemporaries(const std::string& path) {
    RemoveTemporariesBeside(path);
    if (const std::string target = WriteTarget(path); target != path) {
        RemoveTemporariesBeside(target);
    }
}

std::string XdgBaseDirectory(const char* variable, std::string_view fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/" + std::string(fallbackUnderHome);
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

FileLock::FileLock(const std::string& lockPath, std::chrono::milliseconds patience) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    // Polled rather than waited for, so that no holder can keep the caller beyond its
    // patience; the pauses grow from 1 ms, so a lock freed soon is taken soon.
    const auto giveUpAt = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        busy_ = error == EWOULDBLOCK;
        const auto now = std::chrono::steady_clock::now();
        if (!busy_ || now >= giveUpAt) {
            error_ = busy_ ? 0 : error;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, giveUpAt - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    busy_ = false;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor releases the lock
    }
}

}  // namespace tetrakon
