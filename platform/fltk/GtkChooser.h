// The desktop's GTK file chooser, driven directly: FLTK's native chooser
// takes a filter's pattern from the first "(" of its name, adds a filter of
// its own and drops the file to select once a folder is given.
#pragma once

#include <optional>
#include <string>

#include "platform/fltk/FileChooser.h"

namespace platform::fltk {

// Whether GTK (3, else 2) loads and opens the display. Tried once, when
// first asked: the program does not link GTK and pays nothing for it at start.
bool gtkChooserAvailable();

// Shows the GTK chooser modally over the program's windows: the chosen
// file's UTF-8 path, or nothing when cancelled.
std::optional<std::string> runGtkChooser(const ChooserRequest& request);

}  // namespace platform::fltk
