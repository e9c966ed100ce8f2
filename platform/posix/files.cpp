// Implements: the files service on POSIX (exists, kind, bounded reads, the
// safe write in two halves, the set-file lock as flock on the folder) and the
// mapping of errno to the framework's error codes.
#include "platform/posix/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <optional>
#include <string_view>

#include "platform/errors.h"
#include "platform/posix/convert.h"
#include "platform/posix/paths.h"
#include "platform/tempname.h"

namespace platform::posix {

int windowsErrorCode(int err, Access access) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    // Windows refuses a folder as a file with "access denied".
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    // The Windows write and read fault codes.
    case EIO: return access == Access::Writing ? 29 : 30;
    default: return kUnmappedErrno + err;
    }
}

namespace {

[[noreturn]] void fail(int err) { throw IOError(windowsErrorCode(err, Access::Reading)); }
[[noreturn]] void failWriting(int err) { throw IOError(windowsErrorCode(err, Access::Writing)); }

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Windows tells a missing folder ("path not found", 3) from a missing file (2).
[[noreturn]] void failOpening(int err, const std::string& path) {
    if (err == ENOENT && !isFolder(folderOf(path))) throw IOError(3);
    fail(err);
}

std::string cp932PathToUtf8(const std::string& path) {
    if (path.empty()) throw IOError(3);
    std::optional<std::string> utf8 = toUtf8(path);
    if (!utf8) throw IOError(3);
    return *utf8;
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    // Closing can report a delayed write error (NFS, quotas).
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Nothing written and no error: the disk takes no more.
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Throws with errno of the failing call.
std::string readAll(int fd) {
    std::string out;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) return out;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

// At most `limit` bytes, and whether that was all; one more is asked for to know.
FileBytes readAtMost(int fd, std::size_t limit) {
    FileBytes r;
    char buffer[65536];
    while (r.bytes.size() <= limit) {
        std::size_t want = std::min(sizeof buffer, limit + 1 - r.bytes.size());
        ssize_t n = ::read(fd, buffer, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) return r;
        r.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    r.bytes.resize(limit);
    r.whole = false;
    return r;
}

// Opens a regular file for reading; never waits on a FIFO or a device.
Descriptor openForReading(const std::string& utf8Path) {
    Descriptor fd(::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) failOpening(errno, utf8Path);
    struct stat st;
    if (fstat(fd.get(), &st) == 0 && !S_ISREG(st.st_mode)) throw IOError(5);
    return fd;
}

std::string readFile(const std::string& utf8Path) {
    Descriptor fd = openForReading(utf8Path);
    return readAll(fd.get());
}

// A link's contents, whole: a result that fills the buffer may have been cut.
std::string readLink(const std::string& path, const struct stat& st) {
    std::size_t size = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : PATH_MAX;
    for (;;) {
        std::string link(size, '\0');
        ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n < 0) failWriting(errno);
        if (static_cast<std::size_t>(n) < size) {
            link.resize(static_cast<std::size_t>(n));
            return link;
        }
        if (size >= (1u << 20)) failWriting(ENAMETOOLONG);
        size *= 2;
    }
}

// The final target of a chain of symbolic links; the target itself need not
// exist, so that a dangling link gets its file created.
std::string resolveLinks(const std::string& path) {
    std::string target = path;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        if (hops == 40) failWriting(ELOOP);
        std::string link = readLink(target, st);
        if (!link.empty() && link.front() == '/') {
            target = link;
        } else {
            std::size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
}

// NAME is cut so that the whole new name stays within NAME_MAX.
std::string tempPrefixFor(const std::string& target) {
    std::size_t slash = target.rfind('/');
    return tempPrefix<char>(std::string_view(target).substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200));
}

std::string tempNameFor(const std::string& target) {
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return folder + tempName<char>(tempPrefixFor(target), static_cast<unsigned long long>(getpid()));
}

// New files of earlier writes of this file that were killed halfway. Another
// launcher may be writing the same file: only a writer that is gone leaves
// a file that is no longer wanted.
void removeLeftovers(const std::string& target) {
    const std::string prefix = tempPrefixFor(target);
    DIR* folder = opendir(folderOf(target).c_str());
    if (folder == nullptr) return;
    const pid_t self = getpid();
    while (const dirent* entry = readdir(folder)) {
        std::optional<unsigned long long> writer = writerOf<char>(entry->d_name, prefix);
        if (!writer || *writer == 0 || *writer > static_cast<unsigned long long>(INT_MAX)) continue;
        const auto pid = static_cast<pid_t>(*writer);
        if (pid == self || kill(pid, 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (fstatat(dirfd(folder), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            unlinkat(dirfd(folder), entry->d_name, 0);
        }
    }
    closedir(folder);
}

}  // namespace

namespace {

// The new file of a safe write, flushed and waiting to be renamed over its target.
class PosixPendingWrite : public PendingWrite {
public:
    PosixPendingWrite(std::string temp, std::string target) : temp_(std::move(temp)), target_(std::move(target)) {}
    ~PosixPendingWrite() override {
        if (!temp_.empty()) ::unlink(temp_.c_str());
    }
    PosixPendingWrite(const PosixPendingWrite&) = delete;
    PosixPendingWrite& operator=(const PosixPendingWrite&) = delete;

    WriteResult commit() override {
        // Made read-only since the new file was written: it stays, as it would have before.
        struct stat now;
        if (stat(target_.c_str(), &now) == 0 && (now.st_mode & S_IWUSR) == 0) throw IOError(5);
        if (::rename(temp_.c_str(), target_.c_str()) != 0) failWriting(errno);
        temp_.clear();
        // The rename is durable only once the folder itself is flushed; file
        // systems that cannot flush a folder say EINVAL, and that is no fault.
        Descriptor folder(::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 || (fsync(folder.get()) != 0 && errno != EINVAL)) return WriteResult::FolderNotFlushed;
        return WriteResult::Durable;
    }

private:
    std::string temp_;
    const std::string target_;
};

// flock on the folder: the file itself is replaced by the rename, so a lock
// on it would be a lock on the old file.
class FolderLock : public FileLock {
public:
    explicit FolderLock(Descriptor fd) : fd_(std::move(fd)) {}

private:
    Descriptor fd_;  // closing it releases the lock
};

}  // namespace

std::unique_ptr<PendingWrite> prepareSafeWrite(const std::string& utf8Path, const std::string& bytes) {
    if (utf8Path.empty()) throw IOError(3);
    std::string target = resolveLinks(utf8Path);

    struct stat old;
    bool oldExists = stat(target.c_str(), &old) == 0;
    if (oldExists) {
        // A folder, a FIFO or a device is no file of ours to replace.
        if (!S_ISREG(old.st_mode)) throw IOError(5);
        // A read-only file stays, as on Windows, even for root; a rename
        // would need only the folder to be writable.
        if ((old.st_mode & S_IWUSR) == 0) throw IOError(5);
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) failWriting(errno);
    }
    removeLeftovers(target);

    // Private until it has the old file's mode; a file of our own making
    // gets the usual mode at once.
    std::string temp;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temp = tempNameFor(target);
        created = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, oldExists ? 0600 : 0666);
        if (created < 0 && errno != EEXIST) break;
    }
    Descriptor fd(created);
    if (fd.get() < 0) {
        // A new name that cannot be created for want of a folder: "path not
        // found". A folder that refuses new files is an error too: the file
        // is never rewritten in place, since a crash halfway would lose it.
        if (errno == ENOENT) throw IOError(3);
        failWriting(errno);
    }
    auto pending = std::make_unique<PosixPendingWrite>(temp, target);
    auto discard = [&](int err) {
        fd.reset();
        pending.reset();
        failWriting(err);
    };

    if (oldExists) {
        // Owner and group where we may (the group alone when not root); the
        // mode after them, since a change of owner clears set-id bits.
        if (fchown(fd.get(), old.st_uid, old.st_gid) != 0 &&
            fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Kept as ours: the user may not give files away.
        }
        if (fchmod(fd.get(), old.st_mode & 07777) != 0) discard(errno);
    }
    if (!writeAll(fd.get(), bytes) || fsync(fd.get()) != 0) discard(errno);
    if (!fd.close()) discard(errno);
    return pending;
}

WriteResult safeWrite(const std::string& utf8Path, const std::string& bytes) {
    return prepareSafeWrite(utf8Path, bytes)->commit();
}

std::unique_ptr<FileLock> lockFolderOf(const std::string& utf8Path, int timeoutMs) {
    if (utf8Path.empty()) throw IOError(3);
    Descriptor fd(::open(folderOf(resolveLinks(utf8Path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) failOpening(errno, utf8Path);
    constexpr int kPollMs = 10;
    for (int waited = 0;; waited += kPollMs) {
        if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return std::make_unique<FolderLock>(std::move(fd));
        if (errno != EWOULDBLOCK && errno != EINTR) failWriting(errno);
        if (waited >= timeoutMs) return nullptr;
        usleep(kPollMs * 1000);
    }
}

PosixFiles::PosixFiles() {
    // A file-size limit should fail the write (EFBIG), not end the program.
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) std::signal(SIGXFSZ, SIG_IGN);
}

bool PosixFiles::exists(const std::string& path) {
    if (path.empty()) return false;
    std::optional<std::string> utf8 = toUtf8(path);
    if (!utf8) return false;
    struct stat st;
    return stat(utf8->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string PosixFiles::read(const std::string& path) { return readFile(cp932PathToUtf8(path)); }

FileKind PosixFiles::kind(const std::string& path) {
    if (path.empty()) return FileKind::Missing;
    std::optional<std::string> utf8 = toUtf8(path);
    if (!utf8) return FileKind::Missing;
    struct stat st;
    if (stat(utf8->c_str(), &st) != 0) {
        // A dangling link names no file; a loop of links names no readable one.
        return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Other;
    }
    return S_ISREG(st.st_mode) ? FileKind::File : FileKind::Other;
}

FileBytes PosixFiles::readAtMost(const std::string& path, std::size_t limit) {
    Descriptor fd = openForReading(cp932PathToUtf8(path));
    return posix::readAtMost(fd.get(), limit);
}

std::unique_ptr<PendingWrite> PosixFiles::prepareWrite(const std::string& path, const std::string& bytes) {
    return prepareSafeWrite(cp932PathToUtf8(path), bytes);
}

std::unique_ptr<FileLock> PosixFiles::lockForWriting(const std::string& path, int timeoutMs) {
    return lockFolderOf(cp932PathToUtf8(path), timeoutMs);
}

}  // namespace platform::posix
