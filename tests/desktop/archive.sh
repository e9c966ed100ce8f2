#!/usr/bin/env bash
# The portable archive of a build, Linux (tar.gz) or Windows (zip): it holds
# the program, its readme with the system's line ends, the help pages, and
# manual pages only of programs it holds. The Linux one unpacks and starts
# where it was unpacked: a first start there asks its first question, and its
# menu entry names no path of the machine that built it.
# Usage: archive.sh BUILD_DIR   (a Linux build under xvfb-run)
set -euo pipefail
build=$(realpath "$1")
windows=
grep -q 'set(CPACK_GENERATOR "ZIP")' "$build/CPackConfig.cmake" && windows=yes
[[ -n $windows || -n ${DISPLAY:-} ]] || { echo "archive: DISPLAY is not set; run under xvfb-run" >&2; exit 2; }
work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
archive=$(find "$work/out" -maxdepth 1 -name 'tarvo-*.tar.gz' -o -maxdepth 1 -name 'tarvo-*.zip')
mkdir "$work/unpacked dir"
(cd "$work/unpacked dir" && cmake -E tar xf "$archive")
top=$(ls -d "$work/unpacked dir"/tarvo-*)
failures=0 passed=0
check() { if "${@:2}"; then passed=$((passed + 1)); else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi; }
if [[ -n $windows ]]; then program=TARVO.EXE; else program=tarvo; fi
for f in $program README.txt TARVO.html TARVOE.html; do
  check "the archive holds $f" test -e "$top/$f"
done
if [[ -n $windows ]]; then
  check "README.txt ends every line with CR LF" bash -c "! grep -qv \$'\\r\$' '$top/README.txt'"
else
  check "README.txt ends its lines with LF alone" bash -c "! grep -q \$'\\r' '$top/README.txt'"
  for f in tarvo.desktop tarvo.svg man/tarvo.1; do
    check "the archive holds $f" test -e "$top/$f"
  done
fi
for page in "$top"/man/*.1; do
  [[ -e $page ]] || continue
  name=$(basename "$page" .1)
  check "the archive holds $name, whose manual page it holds" test -e "$top/$name"
done
if [[ -n $windows ]]; then
  echo "archive: $passed passed, $failures failed"
  exit "$failures"
fi

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
