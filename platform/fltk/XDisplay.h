// The X display as the launcher opens it: FLTK's atoms asked for in one
// round trip, and the input method opened with the first window that takes
// text rather than with the display (opening it parses the locale's Compose
// table, some 15 ms at every start, and the main window takes no text).
#pragma once

#include <FL/Fl_Window.H>

#include "platform/dpi.h"

namespace platform::fltk {

using platform::kDefinedDpi;

// The display's dpi as the desktop tells it: Xft.dpi from the X resources
// (as Xlib read them when the display opened), else GDK_SCALE times 96.
// Never less than 96: the layout was not made to shrink.
int dpiFrom(const char* resources, const char* gdkScale);

// Defined units to pixels at dpi and back (platform/dpi.h).
inline int scaledTo(int units, int dpi) { return platform::scaled(units, dpi); }
inline int unscaledFrom(int pixels, int dpi) { return platform::unscaled(pixels, dpi); }

// The display's dpi, read once when the display opened (96 before).
int displayDpi();
inline int px(int units) { return scaledTo(units, displayDpi()); }
inline int units(int pixels) { return unscaledFrom(pixels, displayDpi()); }

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
