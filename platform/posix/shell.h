// Shell execute on POSIX: starts a program directly (never through a shell),
// or hands a folder or document to the desktop's opener.
#pragma once

#include <string>

#include "platform/host.h"
#include "platform/windowing.h"

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

}  // namespace platform::posix
