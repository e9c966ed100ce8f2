// The X display as the launcher opens it: FLTK's atoms asked for in one
// round trip, and the input method opened with the first window that takes
// text rather than with the display (opening it parses the locale's Compose
// table, some 15 ms at every start, and the main window takes no text).
#pragma once

#include <FL/Fl_Window.H>

namespace platform::fltk {

// Opens the display for FLTK, leaving the input method for later; once.
void openDisplay();

// The forms' windows are mapped when the event loop next waits, the main
// window drawn into its background first so that its first frame is whole.
// This maps those held now, for what needs a mapped window (minimising).
void mapHeldWindowsNow();

// Opens the input method for `window`, which is shown, and every window
// after it; once.
void openInputMethod(Fl_Window& window);

}  // namespace platform::fltk
