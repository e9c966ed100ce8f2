// Keyboard events of the program's windows.
#pragma once

namespace platform::fltk {

// Routes keyboard events through the shared input rules (installed once).
void installEventRouting();

}  // namespace platform::fltk
