#!/usr/bin/env bash
# Start-up benchmark of the desktop launcher: milliseconds from exec until
# its window's content is drawn (the last pixel change after the first map)
# and until that map, against a bare Xlib window and dmenu, all under one
# virtual X server of its own; and the peak resident memory of each.
# It reports; it does not judge the numbers.
#
# Usage: bench/startup.sh [RUNS]      (default 15; at least 10)
# Environment: BUILD_DIR (default build/ of this checkout), a configured build
# with tarvo built; its timer, tools/xmapwait, is built there when missing.
# BENCH_DPI: the server's Xft.dpi (none, that is 96, unless given).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(realpath "${BUILD_DIR:-$root/build}")
runs=${1:-15}
((runs >= 10)) || { echo "startup: use at least 10 runs" >&2; exit 2; }

xmapwait=$build/tools/xmapwait
if [[ ! -f $build/CMakeCache.txt ]]; then
  echo "startup: no build in $build; make one first:" >&2
  echo "  cmake -S $root -B $build -DCMAKE_BUILD_TYPE=Release && cmake --build $build" >&2
  exit 2
fi
[[ -x $build/tarvo ]] || { echo "startup: no $build/tarvo; build it first: cmake --build $build" >&2; exit 2; }
[[ -x $xmapwait ]] || cmake --build "$build" --target xmapwait >&2

# One X server for the whole run, started and stopped by xvfb-run. -noreset:
# a server that resets whenever its last client leaves would do so between
# every two runs and drop connections meanwhile.
if [[ -z ${TARVO_BENCH_INNER:-} ]]; then
  exec env TARVO_BENCH_INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

for tool in cc dmenu xdotool /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "startup: $tool is missing" >&2; exit 2; }
done
if [[ -n ${BENCH_DPI:-} ]]; then
  command -v xprop >/dev/null || { echo "startup: xprop is missing" >&2; exit 2; }
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$BENCH_DPI"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cc -O2 -o "$work/bare_window" "$here/bare_window.c" -lX11

# The launcher as a user has it: a folder of its own with the default set
# file of 16 items and a settings file (so no first-start setup runs).
app=$work/app
mkdir -p "$app"
cp "$build/tarvo" "$app/tarvo"
keys=abcdefghijklmnop
for ((i = 0; i < 16; i++)); do
  printf 'Item %02d=%s\r\n/tmp|/bin/true|--number %d\r\n' "$((i + 1))" "${keys:i:1}" "$((i + 1))"
done >"$app/TARVO90.PRG"
printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$app/tarvo.INI"

printf 'alpha\nbeta\ngamma\ndelta\n' >"$work/dmenu.in"

# One measurement: appends the milliseconds to the content drawn and to the
# first map to $work/drawn.NAME and $work/map.NAME (and keeps the window
# class seen in $work/class.NAME for the summary). A program that maps an
# empty window and draws later is only done when it has drawn.
measure() {
  local name=$1; shift
  local out
  out=$("$xmapwait" -d -w 400 -t 20000 "$@" <"$work/dmenu.in") || {
    echo "startup: $name did not map a window: $out" >&2
    return 1
  }
  [[ $out =~ ^([0-9.]+)\ ms\ class=([^ ]*)\ drawn=([0-9.]+)\ ms$ ]] || {
    echo "startup: unexpected xmapwait output: $out" >&2
    return 1
  }
  echo "${BASH_REMATCH[1]}" >>"$work/map.$name"
  echo "${BASH_REMATCH[2]}" >"$work/class.$name"
  echo "${BASH_REMATCH[3]}" >>"$work/drawn.$name"
}

names=(tarvo bare dmenu)
run_named() {
  case $1 in
    tarvo) measure tarvo "$app/tarvo" ;;
    bare) measure bare "$work/bare_window" ;;
    dmenu) measure dmenu dmenu ;;
  esac
}

# The first map must be the main window, not a setup or error box: show what
# the set-up folder opens.
"$app/tarvo" >/dev/null 2>&1 &
check_pid=$!
check_wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$check_pid" 2>/dev/null | head -n1) || true
title=$( [[ -n $check_wid ]] && xdotool getwindowname "$check_wid" 2>/dev/null || echo "(no window)")
kill "$check_pid" 2>/dev/null || true
wait "$check_pid" 2>/dev/null || true
[[ $title == "Tarvo (Main)" ]] || echo "startup: WARNING: tarvo opened '$title', not its main window" >&2

echo "startup: warm-up run of each"
for n in "${names[@]}"; do run_named "$n"; done
rm -f "$work"/drawn.* "$work"/map.*

# Interleaved, so that drift of the machine load spreads over all three.
echo "startup: $runs runs of each"
for ((r = 0; r < runs; r++)); do
  for n in "${names[@]}"; do run_named "$n"; done
done

median() { sort -g "$1" | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
minimum() { sort -g "$1" | head -n1; }
maximum() { sort -g "$1" | tail -n1; }

# Peak resident memory, taken apart from the timing runs since /usr/bin/time
# adds a process in between; the highest of three runs. -g ends the program
# itself, not the timer, so that time can report; the hold lets the window
# draw first.
peak_kib() {
  local best=0 kib
  for ((r = 0; r < 3; r++)); do
    "$xmapwait" -g -t 20000 -h 500 /usr/bin/time -f %M -o "$work/rss" "$@" <"$work/dmenu.in" >/dev/null
    kib=$(grep -E '^[0-9]+$' "$work/rss" | tail -n1)
    if ((kib > best)); then best=$kib; fi
  done
  echo "$best"
}
declare -A rss med
rss[tarvo]=$(peak_kib "$app/tarvo")
rss[bare]=$(peak_kib "$work/bare_window")
rss[dmenu]=$(peak_kib dmenu)

declare -A map_med
for n in "${names[@]}"; do
  med[$n]=$(median "$work/drawn.$n")
  map_med[$n]=$(median "$work/map.$n")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
echo
echo "== start-up: exec to content drawn (the last pixel change after the first map of a top-level window)"
echo "   $runs runs each, after one warm-up; tarvo build: $build/tarvo (CMAKE_BUILD_TYPE=${build_type:-unset})"
echo "   16-item set file, window '$title', Xft.dpi ${BENCH_DPI:-unset (96)}"
printf '   %-7s %10s %10s %10s %10s %12s   %s\n' program drawn_ms min_ms max_ms map_ms peak_rss_KiB window_class
for n in "${names[@]}"; do
  printf '   %-7s %10s %10s %10s %10s %12s   %s\n' "$n" "${med[$n]}" "$(minimum "$work/drawn.$n")" \
    "$(maximum "$work/drawn.$n")" "${map_med[$n]}" "${rss[$n]}" "$(cat "$work/class.$n")"
done
echo "   (medians; map_ms is the median time to the first map)"
echo
echo "   drawn: tarvo/dmenu = $(ratio "${med[tarvo]}" "${med[dmenu]}")   tarvo/bare = $(ratio "${med[tarvo]}" "${med[bare]}")"
echo "   peak resident memory: tarvo/dmenu = $(ratio "${rss[tarvo]}" "${rss[dmenu]}")"
