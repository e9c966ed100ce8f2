#!/usr/bin/env bash
# The portable archive unpacks and starts where it was unpacked: a first
# start there asks its first question, and its menu entry names no path of
# the machine that built it.
# Usage: archive.sh BUILD_DIR   (under xvfb-run)
set -euo pipefail
build=$(realpath "$1")
[[ -n ${DISPLAY:-} ]] || { echo "archive: DISPLAY is not set; run under xvfb-run" >&2; exit 2; }
work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G TGZ -B "$work/out" >/dev/null
archive=$(ls "$work"/out/tarvo-*.tar.gz)
mkdir "$work/unpacked dir"
tar xzf "$archive" -C "$work/unpacked dir"
top=$(ls -d "$work/unpacked dir"/tarvo-*)
failures=0 passed=0
check() { if "${@:2}"; then passed=$((passed + 1)); else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi; }
for f in tarvo tarvo.desktop tarvo.svg README.txt TARVO.html TARVOE.html man/tarvo.1 man/tarvo-headless.1; do
  check "the archive holds $f" test -e "$top/$f"
done
check "the menu entry names no path of this machine" bash -c "! grep -q '$build\|/home\|/root' '$top/tarvo.desktop'"
# The entry's command, as a menu would run it (%k: the entry's own path).
cmd=$(sed -n 's/^Exec=//p' "$top/tarvo.desktop" | sed 's/\\\\/\\/g; s|%k|"$1"|')
(cd / && eval "set -- '$top/tarvo.desktop'; $cmd") &
pid=$!
found=
for _ in $(seq 100); do
  found=$(xdotool search --name '^Information$' 2>/dev/null | head -n 1) && [[ -n $found ]] && break
  sleep 0.05
done
check "the unpacked program starts and asks its first question" test -n "$found"
echo "archive: $passed passed, $failures failed"
exit "$failures"
