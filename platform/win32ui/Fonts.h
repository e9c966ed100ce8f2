// The forms' "System" font: a Japanese GUI font (Shift-JIS character set)
// in a size that fits the defined control sizes.
#pragma once

#include <windows.h>

namespace platform::win32ui {

// The font for a form's "System" height, created once per height.
HFONT guiFont(int systemHeight);
void releaseFonts();

}  // namespace platform::win32ui
