#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 and runs every test of the
# 64-bit build under Wine (unit tests and scenarios through
# tarvo-headless.exe). The 32-bit build is compiled only: 32-bit Wine is not
# available here.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== Windows x86_64 build, tests under Wine"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-win -j "$jobs"
export WINEPREFIX=$PWD/build-win/wineprefix
# Once, before any test: the prefix (about 12 s when new) and Wine's
# services, with their output away from the test runner's pipes.
scripts/wine-run --boot
status=0
ctest --test-dir build-win -j "$jobs" --output-on-failure || status=$?
# The server would stay a minute for the next program; nothing comes.
wineserver -k 2>/dev/null || true
[ "$status" -eq 0 ] || exit "$status"

echo "== TARVO.EXE under Xvfb and Wine"
# The drop helper is a Linux X11 program: the plain Linux build makes it
# (configured here when this script runs alone).
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$jobs" --target xdnd_drop
# A prefix of its own: the smoke test boots it with the window settings
# it needs (Wine places and focuses windows itself, with no window manager).
mkdir -p build-win/desktop
WINEPREFIX=$PWD/build-win/desktop/wineprefix tests/desktop-wine/smoke.sh build-win/TARVO.EXE build/tools/xdnd_drop \
  build-win/desktop
WINEPREFIX=$PWD/build-win/desktop/wineprefix wineserver -k 2>/dev/null || true

echo "== Windows i686 build of the programs (compiled, not run)"
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Debug \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build build-win32 -j "$jobs"
