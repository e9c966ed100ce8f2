#include "platform/win32/Win32Files.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/cp932.h"
#include "platform/errors.h"
#include "platform/tempname.h"
#include "platform/win32/win32.h"

namespace platform::win32 {

int frameworkErrorCode(unsigned long windowsError) {
    switch (windowsError) {
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return 3;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return 101;
    // Semaphore errors that share their numbers with the framework's "end of
    // file", "disk full" and "not numeric": the customer bit keeps them apart.
    case 100:
    case 101:
    case 106: return static_cast<int>(windowsError | 0x20000000UL);
    default: return static_cast<int>(windowsError);
    }
}

namespace {

[[noreturn]] void fail(DWORD windowsError) { throw IOError(frameworkErrorCode(windowsError)); }
[[noreturn]] void failLast() { fail(GetLastError()); }

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) CloseHandle(h_);
        h_ = h;
    }
    // Closing can report a delayed write error (network drives).
    bool close() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

// The name the W calls take for a CP932 path: one that does not convert
// names no file, and is refused as a bad name (3), as on POSIX. So is a
// name longer than any Windows file system holds, as Windows refuses it:
// Wine, which meets the Unix limit there, would report a missing file.
std::wstring widePath(const std::string& path) {
    if (path.empty()) throw IOError(3);
    std::optional<std::wstring> wide = toWide(path);
    if (!wide) throw IOError(3);
    std::size_t start = 0;
    for (std::size_t end; (end = wide->find_first_of(L"\\/", start)) != std::wstring::npos; start = end + 1) {
        if (end - start > 255) throw IOError(3);
    }
    if (wide->size() - start > 255) throw IOError(3);
    return *wide;
}

// Windows takes "/" for "\" too; ":" ends a drive ("C:name").
std::size_t lastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/:"); }

// The path without the "\\?\" that only lifts Windows' MAX_PATH limit.
std::wstring plainForm(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

// The file a symbolic link leads to, so that the new file is made beside the
// target and the link stays a link; the path itself for a plain file.
std::wstring finalPath(const std::wstring& path) {
    Handle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) return path;
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    std::wstring final(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()), flags);
    // Too small: n is the size needed, terminator included.
    if (n >= final.size()) {
        final.resize(n);
        n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()), flags);
    }
    if (n == 0) return path;
    // Renamed meanwhile into a longer name: the link's own path instead
    // would replace the link with a file.
    if (n >= final.size()) throw IOError(3);
    final.resize(n);
    // The "\\?\" form stays where only it passes Windows' MAX_PATH limit.
    return final.size() >= MAX_PATH + 4 ? final : plainForm(final);
}

// The start of a file's name that leaves room for the dots and three numbers
// of a new file's name, so that a name the W calls accept gets a new file's
// name they accept too (one character at least). A name holds at most 255
// UTF-16 units on Windows and 255 UTF-8 bytes on the Unix file systems Wine
// writes to: counted in UTF-8, which is never the shorter, it fits both. The
// whole path stays within MAX_PATH, where Windows stops a program that has
// not declared itself long-path aware, wherever the folder leaves room.
std::wstring fittedName(const std::wstring& name, std::size_t folderUnits) {
    const std::size_t reserved = 2 + 3 * 10 + 2;
    const std::size_t byteRoom = 255 - reserved;
    const std::size_t unitRoom = MAX_PATH - 1 > folderUnits + reserved ? MAX_PATH - 1 - folderUnits - reserved : 0;
    std::size_t end = 0, bytes = 0;
    while (end < name.size()) {
        const wchar_t c = name[end];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && end + 1 < name.size();
        const std::size_t units = pair ? 2 : 1;
        const std::size_t utf8 = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (end > 0 && (bytes + utf8 > byteRoom || end + units > unitRoom)) break;
        end += units;
        bytes += utf8;
    }
    return name.substr(0, end);
}

// New files of a write, named by platform/tempname.h beside the file.
struct TempNames {
    std::wstring folder;  // with its separator, or ""
    std::wstring start;   // "." + name + "."

    explicit TempNames(const std::wstring& target) {
        std::size_t sep = lastSeparator(target);
        folder = sep == std::wstring::npos ? std::wstring() : target.substr(0, sep + 1);
        std::wstring name = sep == std::wstring::npos ? target : target.substr(sep + 1);
        start = tempPrefix<wchar_t>(fittedName(name, folder.size()));
    }

    std::wstring next() const { return folder + tempName<wchar_t>(start, GetCurrentProcessId()); }
};

bool processGone(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
    bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// New files left by an interrupted write of the same file, whose writer has
// gone: two launchers may write one file, so a living writer's file stays.
void removeLeftovers(const TempNames& names) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((names.folder + names.start + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::optional<unsigned long long> pid = writerOf<wchar_t>(found.cFileName, names.start);
        if (!pid || *pid > MAXDWORD ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            continue;
        const auto writer = static_cast<DWORD>(*pid);
        if (writer != GetCurrentProcessId() && processGone(writer))
            DeleteFileW((names.folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// False with the error in `error` when a byte could not be written.
bool writeAll(HANDLE file, const std::string& bytes, DWORD& error) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr)) {
            error = GetLastError();
            return false;
        }
        // Nothing written without an error: the disk is full.
        if (written == 0) {
            error = ERROR_DISK_FULL;
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

}  // namespace

bool Win32Files::exists(const std::string& path) {
    std::optional<std::wstring> wide = toWide(path);
    if (path.empty() || !wide) return false;
    DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// A disk file opened for reading; a folder is refused with "access denied",
// as Windows does, and so is a device or a pipe, which a read could wait on.
Handle openForReading(const std::string& path) {
    Handle file(CreateFileW(widePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) failLast();
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw IOError(5);
    return file;
}

FileBytes readUpTo(HANDLE file, std::size_t limit) {
    FileBytes r;
    char buffer[65536];
    while (r.bytes.size() <= limit) {
        DWORD want = static_cast<DWORD>(std::min(sizeof buffer, limit + 1 - r.bytes.size()));
        DWORD n = 0;
        if (!ReadFile(file, buffer, want, &n, nullptr)) failLast();
        if (n == 0) return r;
        r.bytes.append(buffer, n);
    }
    r.bytes.resize(limit);
    r.whole = false;
    return r;
}

}  // namespace

FileKind Win32Files::kind(const std::string& path) {
    std::optional<std::wstring> wide = toWide(path);
    if (path.empty() || !wide) return FileKind::Missing;
    DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // A name that is not there, or that Windows refuses, names no file.
        int code = frameworkErrorCode(GetLastError());
        return code == 2 || code == 3 ? FileKind::Missing : FileKind::Other;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Other;
    Handle file(CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK ? FileKind::File : FileKind::Other;
}

std::string Win32Files::read(const std::string& path) {
    Handle file = openForReading(path);
    return readUpTo(file.get(), std::string().max_size() - 1).bytes;
}

FileBytes Win32Files::readAtMost(const std::string& path, std::size_t limit) {
    Handle file = openForReading(path);
    return readUpTo(file.get(), limit);
}

namespace {

// Puts a flushed new file in the place of a file that is not there.
bool moveInPlace(const std::wstring& temp, const std::wstring& target) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The new file of a safe write, flushed and closed, waiting beside its target.
class Win32PendingWrite : public PendingWrite {
public:
    Win32PendingWrite(std::wstring temp, std::wstring target) : temp_(std::move(temp)), target_(std::move(target)) {}
    ~Win32PendingWrite() override { discard(); }
    Win32PendingWrite(const Win32PendingWrite&) = delete;
    Win32PendingWrite& operator=(const Win32PendingWrite&) = delete;

    WriteResult commit() override {
        // Looked at again: the file may have changed since the new one was made.
        DWORD attributes = GetFileAttributesW(target_.c_str());
        const bool present = attributes != INVALID_FILE_ATTRIBUTES;
        // Made read-only meanwhile: kept, as it would have been before.
        if (present && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) fail(ERROR_ACCESS_DENIED);
        // Gone meanwhile: the new file is the only copy, so it goes in place.
        if (!present) {
            if (!moveInPlace(temp_, target_)) fail(GetLastError());
            temp_.clear();
            return WriteResult::Durable;
        }
        if (ReplaceFileW(target_.c_str(), temp_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            temp_.clear();
            return WriteResult::Durable;
        }
        DWORD error = GetLastError();
        // Without a backup name this means the old file is gone already and
        // the new one is the only copy: put it in place rather than lose it.
        // The same when the old file went between the look and the replace.
        const bool oldGone =
            error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            (error == ERROR_FILE_NOT_FOUND && GetFileAttributesW(target_.c_str()) == INVALID_FILE_ATTRIBUTES);
        if (oldGone && moveInPlace(temp_, target_)) {
            temp_.clear();
            return WriteResult::Durable;
        }
        // ReplaceFileW took the old file away: the new one stays on disk.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) temp_.clear();
        fail(error);
    }

private:
    [[noreturn]] void fail(DWORD error) {
        discard();
        platform::win32::fail(error);
    }
    void discard() {
        if (!temp_.empty()) DeleteFileW(temp_.c_str());
        temp_.clear();
    }

    std::wstring temp_;
    const std::wstring target_;
};

}  // namespace

std::unique_ptr<PendingWrite> Win32Files::prepareWrite(const std::string& path, const std::string& bytes) {
    const std::wstring wide = widePath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    const bool oldExists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!oldExists && GetLastError() != ERROR_FILE_NOT_FOUND) failLast();
    std::wstring target = wide;
    if (oldExists) {
        target = finalPath(wide);
        attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) failLast();
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) throw IOError(5);
    }
    const DWORD kept =
        FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD newAttributes = oldExists && (attributes & kept) ? attributes & kept : FILE_ATTRIBUTE_NORMAL;

    TempNames names(target);
    removeLeftovers(names);
    std::wstring temp;
    Handle file;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temp = names.next();
        file.reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, newAttributes, nullptr));
        if (file.valid()) break;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    // A folder that refuses the new file is an error: rewriting the file in
    // place would lose it to a crash halfway.
    if (!file.valid()) fail(error);

    // Owns the new file from here on: any failure below removes it.
    auto pending = std::make_unique<Win32PendingWrite>(temp, target);
    bool ok = writeAll(file.get(), bytes, error);
    if (ok && !FlushFileBuffers(file.get())) {
        ok = false;
        error = GetLastError();
    }
    if (ok && !file.close()) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        file.reset();
        pending.reset();
        fail(error);
    }
    return pending;
}

namespace {

// 64-bit FNV-1a over the UTF-16 units, ASCII letters upper-cased as Windows
// compares file names: mutex names hold no "\" and are limited in length.
std::wstring hashHex(std::wstring_view path) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (wchar_t c : path) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        for (int shift : {0, 8}) {
            hash ^= (static_cast<unsigned>(c) >> shift) & 0xFF;
            hash *= 1099511628211ULL;
        }
    }
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring hex(16, L'0');
    for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = digits[hash & 15];
    return hex;
}

// One name for every way of naming the file: full path, links followed as
// the write follows them, upper-cased as Windows compares file names.
std::wstring lockName(const std::string& path) {
    const std::wstring wide = widePath(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0 || n >= full.size()) failLast();
    full.resize(n);
    // Local: launchers of one session share it; nothing of it outlives them.
    // The plain form, so that a long path names one lock before its file
    // exists and after.
    return L"Local\\TarvoSetFileLock-" + hashHex(plainForm(finalPath(full)));
}

class MutexLock : public FileLock {
public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
    ~MutexLock() override {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

std::unique_ptr<FileLock> Win32Files::lockForWriting(const std::string& path, int timeoutMs) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, lockName(path).c_str());
    if (!mutex) failLast();
    DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(std::max(timeoutMs, 0)));
    // Abandoned: its holder ended without releasing it, and with it its write.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return std::make_unique<MutexLock>(mutex);
    DWORD error = GetLastError();
    CloseHandle(mutex);
    if (waited == WAIT_TIMEOUT) return nullptr;
    fail(error);
}

}  // namespace platform::win32
