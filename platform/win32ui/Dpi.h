// Display scaling. Forms are defined at 96 dpi; their native windows, fonts
// and positions are scaled by the window's DPI, and what is read back from
// a window is scaled back, so that the program and its files keep the
// defined units at any scaling.
#pragma once

#include <windows.h>

#include "platform/dpi.h"

namespace platform::win32ui {

using platform::convertDpi;
using platform::kDefinedDpi;
using platform::scaled;
using platform::unscaled;

// The screen's DPI (LOGPIXELSY), the scaling of windows not yet made.
int systemDpi();
// The window's DPI: GetDpiForWindow where the system has it (it follows the
// monitor), else the screen's.
int windowDpi(HWND hwnd);

}  // namespace platform::win32ui
