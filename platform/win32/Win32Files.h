// Files service on Windows.
// Implements: exists, kind, (bounded) reads and the safe write in two halves
// with the W calls on CP932 names converted by the program's own table
// (CreateFileW, FlushFileBuffers, ReplaceFileW, MoveFileExW), the set-file
// lock as a named mutex (CreateMutexW), and the mapping of Windows error
// codes to the framework's. A name CP932 does not map is no file (3), so the
// same bytes name the same file on every code page.
#pragma once

#include <memory>
#include <string>

#include "platform/host.h"

namespace platform::win32 {

// A GetLastError code as the framework reports it: the Windows code where
// the framework has a text for it, names that Windows refuses as "invalid
// file name" (3), disk full as 101; codes that happen to equal one of the
// framework's own (100, 101, 106) are moved out of the way.
int frameworkErrorCode(unsigned long windowsError);

class Win32Files : public Files {
public:
    bool exists(const std::string& path) override;
    // A folder or a device is no file to read ("Other").
    FileKind kind(const std::string& path) override;
    std::string read(const std::string& path) override;
    // Reads no further than one byte past `limit`.
    FileBytes readAtMost(const std::string& path, std::size_t limit) override;
    // Writes a new file beside the old one (given the old file's attributes)
    // and flushes it; commit() puts it in the old one's place with
    // ReplaceFileW, or MoveFileExW when there is no old file. A read-only
    // file and a folder that refuses the new file are errors: the file is
    // never rewritten in place. Leftover new files of writers that have gone
    // are removed. At commit, a file made read-only meanwhile is refused
    // (5) and kept; a file gone meanwhile is made anew from the new one.
    std::unique_ptr<PendingWrite> prepareWrite(const std::string& path, const std::string& bytes) override;
    // A mutex named after the file's full path (links resolved, ASCII case
    // folded), so that it leaves nothing on disk and, unlike a byte-range
    // lock, never stops a reader. A holder that ended without releasing it
    // gives it up. It belongs to the thread that took it: that thread
    // releases it, and taking it again there succeeds at once.
    std::unique_ptr<FileLock> lockForWriting(const std::string& path, int timeoutMs) override;
};

}  // namespace platform::win32
