// Host services: what the program asks of the operating system. One
// implementation per OS (platform/posix, platform/win32); the headless
// backend answers the process-level ones itself and takes the host's files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class FileKind {
    Missing,
    File,
    Other,  // a folder, a FIFO, a device, a link that leads nowhere readable
};

// What a bounded read got.
struct FileBytes {
    std::string bytes;
    bool whole = true;  // false: the file holds more than was read
};

// How a finished safe write left the file.
enum class WriteResult {
    Durable,
    // The new file is in place, but its folder could not be flushed: a crash
    // soon after may still bring back the old file.
    FolderNotFlushed,
};

// A new file, written and flushed beside the file it is to replace. Until
// commit() puts it in that file's place the old file is untouched; dropped
// uncommitted, it is removed.
class PendingWrite {
public:
    virtual ~PendingWrite() = default;
    // IOError, with the old file kept, when the new one cannot be put in place.
    virtual WriteResult commit() = 0;
};

// A write whose whole work happens at commit(), for files that have no half
// state to keep apart (files held in memory).
class DeferredWrite : public PendingWrite {
public:
    explicit DeferredWrite(std::function<WriteResult()> write) : write_(std::move(write)) {}
    WriteResult commit() override { return write_(); }

private:
    std::function<WriteResult()> write_;
};

// Held by one launcher at a time for one file, from the check "changed
// since I read it?" to the replacement; released when destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// Files by CP932 path. Errors are IOError with the Windows error code.
class Files {
public:
    virtual ~Files() = default;
    // True for an existing file (not a folder); an empty path is missing.
    virtual bool exists(const std::string& path) = 0;
    virtual std::string read(const std::string& path) = 0;
    // Whether a name is free, a file, or something a file cannot be read from.
    virtual FileKind kind(const std::string& path) { return exists(path) ? FileKind::File : FileKind::Missing; }
    // At most `limit` bytes, so that a reader's cost never grows with the
    // file's size; the hosts read no further than that.
    virtual FileBytes readAtMost(const std::string& path, std::size_t limit) {
        FileBytes r{read(path), true};
        if (r.bytes.size() > limit) {
            r.bytes.resize(limit);
            r.whole = false;
        }
        return r;
    }
    // The first half of a safe write: the new file beside the old one.
    virtual std::unique_ptr<PendingWrite> prepareWrite(const std::string& path, const std::string& bytes) = 0;
    // Replaces the file so that a failure never leaves the old one damaged.
    WriteResult write(const std::string& path, const std::string& bytes) { return prepareWrite(path, bytes)->commit(); }
    // The lock every launcher takes before it replaces `path`; it leaves
    // nothing on disk and lets readers read. Nullptr when another launcher
    // held it for all of `timeoutMs`.
    virtual std::unique_ptr<FileLock> lockForWriting(const std::string& path, int timeoutMs) = 0;
};

struct ShellRequest {
    std::string operation;
    std::string file;
    std::string parameters;
    std::string directory;
    int show = 5;
};

class Host {
public:
    virtual ~Host() = default;
    virtual Files& files() = 0;
    // The shell's result: above 32 is success.
    virtual int shellExecute(const ShellRequest& request) = 0;
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
    virtual std::string programPath() = 0;  // full path of the program file
    virtual std::vector<std::string> programParameters() = 0;
    // How launcher items name this program: the defined name where program
    // files are named so (Windows), the program file's own name elsewhere.
    virtual std::string programNameForItems(const std::string& definedName) = 0;
};

Host& host();
void setHost(Host* host);

inline Files& files() { return host().files(); }

}  // namespace platform
