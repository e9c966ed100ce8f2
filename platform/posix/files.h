// Files service on POSIX: CP932 names converted to UTF-8, safe writes.
#pragma once

#include <string>

#include "platform/host.h"

namespace platform::posix {

enum class Access { Reading, Writing };

// Added to an errno that has no Windows code of its own, so that the
// framework shows it as an I/O error numbered apart from every defined code.
constexpr int kUnmappedErrno = 1000;

// errno to the Windows error codes the framework reports.
int windowsErrorCode(int err, Access access);

class PosixFiles : public Files {
public:
    // Ignores SIGXFSZ (unless the program handles it), so that a file-size
    // limit fails a write instead of ending the program.
    PosixFiles();
    bool exists(const std::string& path) override;
    std::string read(const std::string& path) override;
    FileKind kind(const std::string& path) override;
    FileBytes readAtMost(const std::string& path, std::size_t limit) override;
    std::unique_ptr<PendingWrite> prepareWrite(const std::string& path, const std::string& bytes) override;
    std::unique_ptr<FileLock> lockForWriting(const std::string& path, int timeoutMs) override;
};

// Safe write by UTF-8 path: a new file beside the old one, given the old
// file's owner, group and mode before any data, flushed, then renamed over
// it, following a symbolic link to its target. A file without a write bit
// for its owner, or a folder that refuses the new file, fails the write and
// keeps the file. New files left by writers that are gone are removed.
// Throws IOError.
WriteResult safeWrite(const std::string& utf8Path, const std::string& bytes);
// Its first half: everything up to the rename, which commit() does.
std::unique_ptr<PendingWrite> prepareSafeWrite(const std::string& utf8Path, const std::string& bytes);

// An exclusive flock on the folder of the file a path leads to; nullptr when
// another process held it for all of `timeoutMs`. Throws IOError.
std::unique_ptr<FileLock> lockFolderOf(const std::string& utf8Path, int timeoutMs);

}  // namespace platform::posix
