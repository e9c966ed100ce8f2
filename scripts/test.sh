#!/usr/bin/env bash
# Every check, in order: the format, the plain build and its tests, clang-tidy,
# the same tests under AddressSanitizer with UndefinedBehaviorSanitizer, a
# short run of every fuzz target, and the Windows programs and tests under
# Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

echo "== format"
scripts/check-format.sh
echo "== plain build"
run_suite build
echo "== clang-tidy"
scripts/tidy.sh build
echo "== sanitizer build (ASan + UBSan)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DTARVO_SANITIZE=ON
echo "== fuzz targets, 10 s each"
scripts/fuzz.sh 10
scripts/test-windows.sh
