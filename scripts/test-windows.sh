#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 and runs every test of the
# 64-bit build under Wine (unit tests and scenarios through
# tarvo-headless.exe), each on two code pages: 932, a Japanese Windows
# (ja_JP.UTF-8), and 1252, a Western one (C.UTF-8), where the program must
# behave byte for byte the same. The 32-bit build is compiled only: 32-bit
# Wine is not available here.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== Windows x86_64 build, tests under Wine"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-win -j "$jobs"
export WINEPREFIX=$PWD/build-win/wineprefix
locales=(ja_JP.UTF-8 C.UTF-8)
for locale in "${locales[@]}"; do
  echo "-- ctest under $locale"
  start=$SECONDS
  # Once, before any test: the locale's prefix (about 12 s when new) and
  # Wine's services, with their output away from the test runner's pipes.
  TARVO_WINE_LC_ALL=$locale scripts/wine-run --boot
  status=0
  TARVO_WINE_LC_ALL=$locale ctest --test-dir build-win -j "$jobs" --output-on-failure || status=$?
  # The server would stay a minute for the next program; nothing comes.
  TARVO_WINE_LC_ALL=$locale scripts/wine-run --kill
  echo "-- ctest under $locale: $((SECONDS - start)) s"
  [ "$status" -eq 0 ] || exit "$status"
done

echo "== TARVO.EXE under Xvfb and Wine"
# The drop helper is a Linux X11 program: the plain Linux build makes it
# (configured here when this script runs alone).
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$jobs" --target xdnd_drop
# A prefix of its own: the smoke test boots it with the window settings
# it needs (Wine places and focuses windows itself, with no window manager).
mkdir -p build-win/desktop
for locale in "${locales[@]}"; do
  start=$SECONDS
  TARVO_WINE_LC_ALL=$locale tests/desktop-wine/smoke.sh build-win/TARVO.EXE build/tools/xdnd_drop build-win/desktop
  TARVO_WINE_LC_ALL=$locale WINEPREFIX=$PWD/build-win/desktop/wineprefix scripts/wine-run --kill
  echo "-- smoke test under $locale: $((SECONDS - start)) s"
done
# Once more on displays scaled to 144 and 192 dpi (their own prefixes).
for dpi in 144 192; do
  start=$SECONDS
  TARVO_WINE_LOGPIXELS=$dpi tests/desktop-wine/smoke.sh build-win/TARVO.EXE build/tools/xdnd_drop build-win/desktop
  echo "-- smoke test at $dpi dpi: $((SECONDS - start)) s"
done

echo "== Windows i686 build of the programs (compiled, not run)"
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Debug \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build build-win32 -j "$jobs"
