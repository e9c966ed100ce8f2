#!/usr/bin/env bash
# Builds the program and every test twice, plainly and under AddressSanitizer
# with UndefinedBehaviorSanitizer, and runs all tests in both builds; then
# the Windows builds, whose tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

echo "== plain build"
run_suite build
echo "== sanitizer build (ASan + UBSan)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan -DTARVO_SANITIZE=ON
scripts/test-windows.sh
