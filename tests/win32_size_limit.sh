#!/usr/bin/env bash
# Runs the Windows files tests that need a write to fail halfway: under a
# file size limit, with SIGXFSZ ignored so that a write past the limit fails
# instead of ending the program. Wine is booted first, outside the limit, so
# that its server never runs under it.
#   win32_size_limit.sh COMMAND... (the command that runs unit_tests.exe)
set -euo pipefail
limit_kib=256
"$@" --gtest_list_tests >/dev/null
ulimit -S -f "$limit_kib"
trap '' XFSZ
export TARVO_FILE_SIZE_LIMIT=$((limit_kib * 1024))
out=$("$@" --gtest_filter='Win32FilesUnderSizeLimit.*') || { echo "$out"; exit 1; }
echo "$out"
# It must have run, not skipped or matched nothing.
grep -q '^\[  PASSED  \] [1-9]' <<<"$out" && ! grep -q SKIPPED <<<"$out"
