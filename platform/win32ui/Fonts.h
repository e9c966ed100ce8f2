// The forms' "System" font: a Japanese GUI font (Shift-JIS character set)
// in a size that fits the defined control sizes.
#pragma once

#include <windows.h>

namespace platform::win32ui {

// The font for a form's "System" height on a display of that DPI, created
// once per height and DPI.
HFONT guiFont(int systemHeight, int dpi);
void releaseFonts();

}  // namespace platform::win32ui
