#include "platform/posix/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <random>

#include "platform/errors.h"
#include "platform/posix/paths.h"
#include "platform/posix/convert.h"

namespace platform::posix {

int windowsErrorCode(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return err;
    }
}

namespace {

[[noreturn]] void fail(int err) { throw IOError(windowsErrorCode(err)); }

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Windows tells a missing folder ("path not found", 3) from a missing file (2).
[[noreturn]] void failOpening(int err, const std::string& path) {
    if (err == ENOENT && !isFolder(folderOf(path))) throw IOError(3);
    // Windows refuses to open a folder as a file with "access denied".
    if (err == EISDIR) throw IOError(5);
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

// The final target of a chain of symbolic links; the target itself need not
// exist, so that a dangling link gets its file created.
std::string resolveLinks(const std::string& path) {
    std::string target = path;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        if (hops == 40) fail(ELOOP);
        std::string link(PATH_MAX, '\0');
        ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) fail(errno);
        link.resize(static_cast<std::size_t>(n));
        if (!link.empty() && link.front() == '/') {
            target = link;
        } else {
            std::size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
}

std::string tempNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Kept short enough that the temp name stays within NAME_MAX.
    std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);
    return folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(seed) + "-" +
           std::to_string(counter++);
}

// For a folder that refuses new files: overwrite the file itself, and put the
// old bytes back if the new ones cannot all be written.
void writeInPlace(const std::string& target, int writable, const std::string& bytes) {
    std::string old = readFile(target);
    auto put = [writable](const std::string& b) {
        return ftruncate(writable, 0) == 0 && lseek(writable, 0, SEEK_SET) == 0 && writeAll(writable, b) &&
               fsync(writable) == 0;
    };
    if (put(bytes)) return;
    int err = errno;
    put(old);
    fail(err);
}

}  // namespace

void safeWrite(const std::string& utf8Path, const std::string& bytes) {
    if (utf8Path.empty()) throw IOError(3);
    std::string target = resolveLinks(utf8Path);

    struct stat old;
    bool oldExists = stat(target.c_str(), &old) == 0;
    if (oldExists && S_ISDIR(old.st_mode)) throw IOError(5);

    std::string temp;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temp = tempNameFor(target);
        created = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (created < 0 && errno != EEXIST) break;
    }
    Descriptor fd(created);
    if (fd.get() < 0) {
        int err = errno;
        if ((err == EACCES || err == EPERM || err == EROFS) && oldExists) {
            Descriptor writable(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
            if (writable.get() >= 0) {
                writeInPlace(target, writable.get(), bytes);
                if (!writable.close()) fail(errno);
                return;
            }
        }
        // A new name that cannot be created for want of a folder: "path not found".
        if (err == ENOENT) throw IOError(3);
        fail(err);
    }

    bool ok = writeAll(fd.get(), bytes) && fsync(fd.get()) == 0 &&
              (!oldExists || fchmod(fd.get(), old.st_mode & 07777) == 0);
    int err = errno;
    if (ok) {
        ok = fd.close();
        err = errno;
    }
    if (ok) {
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
        err = errno;
    }
    if (!ok) {
        fd.reset();
        ::unlink(temp.c_str());
        fail(err);
    }

    // The rename is durable only once the folder itself is flushed.
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) fsync(folder.get());
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

void PosixFiles::write(const std::string& path, const std::string& bytes) { safeWrite(cp932PathToUtf8(path), bytes); }

}  // namespace platform::posix
