// Host services: what the program asks of the operating system. One
// implementation per OS (platform/posix, platform/win32); the headless
// backend answers the process-level ones itself and takes the host's files.
#pragma once

#include <cstddef>
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
    // Replaces the file so that a failure never leaves the old one damaged.
    virtual void write(const std::string& path, const std::string& bytes) = 0;
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
