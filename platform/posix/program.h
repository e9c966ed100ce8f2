// The program file's own path on POSIX.
#pragma once

#include <string>

namespace platform::posix {

// argv[0] made absolute without resolving symbolic links: a name holding a
// "/" is taken relative to the working folder; a bare name is searched on
// PATH, then in the working folder. UTF-8 in and out; "." and ".." segments
// are folded lexically.
std::string absoluteProgramPath(const std::string& argv0);

}  // namespace platform::posix
