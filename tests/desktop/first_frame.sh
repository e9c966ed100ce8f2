#!/usr/bin/env bash
# The main window's first frame on the screen is the whole window, its 16
# items listed: no empty window while the program draws. In Japanese and in
# English.
# Leaves both frames of each case as PNG in $ARTIFACTS.
#
# Usage: first_frame.sh TARVO_BINARY FIRST_FRAME_HELPER
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tarvo=$(realpath "$1")
helper=$(realpath "$2")
artifacts=${ARTIFACTS:-$root/build/artifacts}

# shellcheck source=common.sh
source "$here/common.sh"
require_tools convert
[[ -x $tarvo && -x $helper ]] || { echo "first_frame: usage: first_frame.sh TARVO FIRST_FRAME_HELPER" >&2; exit 2; }
mkdir -p "$artifacts"

hold_display

run_case() {
  case_name=$1
  local japanese=$2 english=$3
  local dir="$work/$case_name"
  mkdir -p "$dir"
  cp "$tarvo" "$dir/tarvo"
  local keys=abcdefghijklmnop i
  for ((i = 0; i < 16; i++)); do
    printf 'Item %02d=%s\r\n/tmp|/bin/true|%d\r\n' "$((i + 1))" "${keys:i:1}" "$((i + 1))"
  done >"$dir/TARVO90.PRG"
  printf '[Language]\r\nJapanese=%s\r\nEnglish=%s\r\n' "$japanese" "$english" >"$dir/tarvo.INI"
  local out rc=0
  out=$(cd "$dir" && "$helper" "$dir/first.ppm" "$dir/later.ppm" ./tarvo 2>&1) || rc=$?
  for f in first later; do
    [[ -f $dir/$f.ppm ]] && convert "$dir/$f.ppm" "$artifacts/first-frame-$case_name-$f.png"
  done
  ((rc == 0)) || fail "$out"
}

run_case english 0 1
run_case japanese 1 0

if ((failures)); then
  echo "first_frame: $failures case(s) failed" >&2
  exit 1
fi
echo "first_frame: all cases passed"
