#!/usr/bin/env bash
# Start-up benchmark of TARVO.EXE under Wine: milliseconds from exec of
# `wine PROGRAM` to the first map of its window, against a bare Win32
# window program (bench/bare_window_win32.c), both under the same Wine
# prefix, wineserver and virtual X server, runs interleaved. Prints the
# median, minimum and maximum of each and their ratio (the aim: TARVO.EXE at
# most 1.5 times the bare window). It reports; it does not judge.
#
# Usage: bench/startup-wine.sh [RUNS]      (default 15; at least 5)
# Environment: BUILD_DIR, the cross build with TARVO.EXE and the Wine prefix
#   (default build-win/ of this checkout; the prefix is booted when
#   missing); XMAPWAIT, the X11 timer (default tools/xmapwait of the Linux
#   build build/, built there when missing)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(realpath "${BUILD_DIR:-$root/build-win}")
runs=${1:-15}
((runs >= 5)) || { echo "startup-wine: use at least 5 runs" >&2; exit 2; }

# The timer is a Linux X11 program, so the cross build cannot make it.
if [[ -z ${XMAPWAIT:-} ]]; then
  XMAPWAIT=$root/build/tools/xmapwait
  if [[ ! -x $XMAPWAIT ]]; then
    [[ -f $root/build/CMakeCache.txt ]] || cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$root/build" --target xmapwait >&2
  fi
fi
xmapwait=$(realpath "$XMAPWAIT")

# One X server for the whole run. -noreset: a server that resets whenever its
# last client leaves would do so between runs and drop connections meanwhile.
if [[ -z ${TARVO_BENCH_INNER:-} ]]; then
  exec env TARVO_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

[[ -x $xmapwait ]] || { echo "startup-wine: no timer at $xmapwait" >&2; exit 2; }
[[ -e $build/TARVO.EXE ]] || {
  echo "startup-wine: no $build/TARVO.EXE; build it first:" >&2
  echo "  cmake -S $root -B $build -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake \\" >&2
  echo "    -DCMAKE_BUILD_TYPE=Release" >&2
  echo "  cmake --build $build --target TARVO" >&2
  exit 2
}
for tool in wine wineserver x86_64-w64-mingw32-gcc; do
  command -v "$tool" >/dev/null || { echo "startup-wine: $tool is missing" >&2; exit 2; }
done

# shellcheck source=/dev/null  # tests/desktop-wine/wine-env.sh
source "$root/tests/desktop-wine/wine-env.sh"
wine_env "$build"
wine_boot

work=$(mktemp -d)
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

x86_64-w64-mingw32-gcc -O2 -mwindows -o "$work/bare_window.exe" "$here/bare_window_win32.c"

# The launcher as a user has it: a folder of its own with the default set
# file of 16 items and a settings file (so no first-start setup runs).
app=$work/app
mkdir -p "$app"
cp "$build/TARVO.EXE" "$app/"
keys=abcdefghijklmnop
for ((i = 0; i < 16; i++)); do
  printf 'Item %02d=%s\r\nC:\\|C:\\windows\\notepad.exe|--number %d\r\n' "$((i + 1))" "${keys:i:1}" "$((i + 1))"
done >"$app/TARVO90.PRG"
printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$app/TARVO.INI"

# The wineserver stays up between runs, as it does on a desktop where Wine
# programs run: neither program pays for starting it.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

measure() {
  local name=$1 dir=$2 exe=$3 out
  out=$(cd "$dir" && "$xmapwait" -t 30000 -h 50 wine "$exe" </dev/null 2>/dev/null) || {
    echo "startup-wine: $name did not map a window: $out" >&2
    return 1
  }
  # The window class seen, for the summary: the first map must be the
  # program's window, not a box or one of Wine's own.
  echo "${out#* ms class=}" >"$work/class.$name"
  echo "${out%% ms*}"
}
names=(tarvo bare)
run_named() {
  case $1 in
    tarvo) measure tarvo "$app" TARVO.EXE ;;
    bare) measure bare "$work" bare_window.exe ;;
  esac
}

echo "startup-wine: warm-up run of each"
for n in "${names[@]}"; do run_named "$n" >/dev/null; done
echo "startup-wine: $runs runs of each, interleaved"
for ((r = 0; r < runs; r++)); do
  for n in "${names[@]}"; do run_named "$n" >>"$work/times.$n"; done
done

median() { sort -g "$1" | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
declare -A med
echo
echo "== start-up under $(wine --version 2>/dev/null): exec of wine to first map of a top-level window"
echo "   TARVO.EXE: $build/TARVO.EXE, 16-item set file; prefix $WINEPREFIX"
printf '   %-7s %10s %10s %10s   %s\n' program median_ms min_ms max_ms window_class
for n in "${names[@]}"; do
  med[$n]=$(median "$work/times.$n")
  printf '   %-7s %10s %10s %10s   %s\n' "$n" "${med[$n]}" "$(sort -g "$work/times.$n" | head -n1)" \
    "$(sort -g "$work/times.$n" | tail -n1)" "$(cat "$work/class.$n")"
done
echo
echo "   tarvo/bare = $(awk -v a="${med[tarvo]}" -v b="${med[bare]}" 'BEGIN {printf "%.2f", a / b}')   (aim: at most 1.50)"
