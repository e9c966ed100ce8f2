// How the program's CP932 texts reach FLTK's labels.
#pragma once

#include <string>

namespace platform::fltk {

// CP932 to what FLTK shows: UTF-8, "@" kept literal, CR dropped so that a
// LF CR pair breaks one line.
std::string displayText(const std::string& cp932, bool keepAmpersands = true);

}  // namespace platform::fltk
