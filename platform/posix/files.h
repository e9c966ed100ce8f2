// Files service on POSIX: CP932 names converted to UTF-8, safe writes.
#pragma once

#include <string>

#include "platform/services.h"

namespace platform::posix {

// errno to the Windows error codes the framework reports.
int windowsErrorCode(int err);

class PosixFiles : public Files {
public:
    bool exists(const std::string& path) override;
    std::string read(const std::string& path) override;
    FileKind kind(const std::string& path) override;
    FileBytes readAtMost(const std::string& path, std::size_t limit) override;
    void write(const std::string& path, const std::string& bytes) override;
};

// Safe write by UTF-8 path: new file beside the old one, flushed, then renamed
// over it, keeping the old file's permissions and following a symbolic link to
// its target; if the folder refuses a new file but the file itself is
// writable, writes in place and puts the old bytes back on failure.
// Throws IOError.
void safeWrite(const std::string& utf8Path, const std::string& bytes);

}  // namespace platform::posix
