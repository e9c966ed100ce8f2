// Display scaling shared by the desktop backends: layout, font sizes
// included, is defined at 96 dpi; a backend draws it at its display's dpi
// and hands the program back defined units.
#pragma once

namespace platform {

inline constexpr int kDefinedDpi = 96;

// value * to / from, rounded half away from zero as Windows' MulDiv rounds;
// the one conversion between defined units and a display's pixels.
constexpr int convertDpi(int value, int to, int from) {
    if (from <= 0) return value;
    long long product = static_cast<long long>(value) * to;
    long long half = from / 2;
    return static_cast<int>(product >= 0 ? (product + half) / from : -((-product + half) / from));
}

// Defined units to the pixels of a display of that dpi, and back; a round
// trip gives the units back (dpi >= 96).
constexpr int scaled(int value, int dpi) { return convertDpi(value, dpi, kDefinedDpi); }
constexpr int unscaled(int value, int dpi) { return convertDpi(value, kDefinedDpi, dpi); }

}  // namespace platform
