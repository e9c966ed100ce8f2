// Display scaling. Forms are defined at 96 dpi; their native windows, fonts
// and positions are scaled by the window's DPI, and what is read back from
// a window is scaled back, so that the program and its files keep the
// defined units at any scaling.
#pragma once

#include <windows.h>

namespace platform::win32ui {

constexpr int kDefinedDpi = 96;

// value * to / from, rounded half away from zero as MulDiv rounds; the one
// conversion between defined and device units.
constexpr int convertDpi(int value, int to, int from) {
    if (from <= 0) return value;
    long long product = static_cast<long long>(value) * to;
    long long half = from / 2;
    return static_cast<int>(product >= 0 ? (product + half) / from : -((-product + half) / from));
}
// Defined units to the pixels of a display of that DPI, and back.
constexpr int scaled(int value, int dpi) { return convertDpi(value, dpi, kDefinedDpi); }
constexpr int unscaled(int value, int dpi) { return convertDpi(value, kDefinedDpi, dpi); }

// The screen's DPI (LOGPIXELSY), the scaling of windows not yet made.
int systemDpi();
// The window's DPI: GetDpiForWindow where the system has it (it follows the
// monitor), else the screen's.
int windowDpi(HWND hwnd);

}  // namespace platform::win32ui
