#!/usr/bin/env bash
# A command-line parameter the CP932 code page cannot hold: the program says
# so in a message box (a user who starts it from a menu sees no standard
# error) and ends with status 1 once the box is closed.
# Usage: bad_argument.sh TARVO_BINARY   (under xvfb-run)
set -euo pipefail
tarvo=$(realpath "$1")
[[ -n ${DISPLAY:-} ]] || { echo "bad_argument: DISPLAY is not set; run under xvfb-run" >&2; exit 2; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$tarvo" "$work/tarvo"
# "é" has no CP932 form.
"$work/tarvo" "é.PRG" 2>"$work/stderr" &
pid=$!
box=
for _ in $(seq 100); do
  box=$(xdotool search --name '^tarvo$' 2>/dev/null | head -n 1) && [[ -n $box ]] && break
  sleep 0.05
done
failures=0
if [[ -z $box ]]; then
  echo "FAIL: no message box appeared" >&2
  failures=1
else
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
fi
status=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
wait "$pid" || status=$?
[[ $status -eq 1 ]] || { echo "FAIL: exit status $status, wanted 1" >&2; failures=1; }
grep -q "a parameter cannot be held in the CP932 code page: é.PRG" "$work/stderr" ||
  { echo "FAIL: stderr lacks the reason: $(cat "$work/stderr")" >&2; failures=1; }
[[ $failures -eq 0 ]] && echo "bad_argument: 3 passed, 0 failed"
exit "$failures"
