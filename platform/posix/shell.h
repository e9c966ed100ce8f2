// Shell execute on POSIX: starts a program directly (never through a shell),
// or hands a folder or document to the desktop's opener.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "platform/host.h"

namespace platform::posix {

struct ShellSettings {
    // The desktop's opener for folders and documents.
    std::string opener = "xdg-open";
    // How long the opener is watched: one that fails within it (it found no
    // handler) gives 31; one still running then counts as started.
    int openerWaitMs = 2000;
};

// UTF-8 request in, Windows-style result out: > 32 success; 2 no such file,
// 3 no such directory, 5 no permission, 31 no opener for the document.
// The parameters are split by the Windows command-line rules. Children are
// reaped and inherit no descriptor beyond standard input, output and error.
int shellExecute(const ShellRequest& utf8Request, const ShellSettings& settings = {});

// Reaps finished children without waiting (also done by every shellExecute).
void reapChildren();

// The desktop's opener handed a document (a UTF-8 path) without waiting for
// its answer, for a caller that tells a failure whenever it comes. The
// opener is not among the children reapChildren() takes: openerEnded()
// reaps it.
struct StartedOpener {
    int result;  // as shellExecute's: 31 when no opener could be started
    pid_t pid;   // the running opener when result > 32
};
StartedOpener startOpener(const std::string& document, const ShellSettings& settings = {});
// Nothing while the opener runs; then whether it succeeded.
std::optional<bool> openerEnded(pid_t pid);

}  // namespace platform::posix
