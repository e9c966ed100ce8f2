#!/usr/bin/env bash
# Drops files on the running launcher by the XDND protocol (no mouse) and
# checks what it writes to its set file: a dropped file becomes the last
# item; a name the set file could not read back is refused and nothing is
# written.
#
# Usage: drop.sh TARVO_BINARY XDND_DROP_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
xdnd_drop=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
windows_of() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
# Counted anew on every try of wait_until.
windows_are() { test "$(windows_of)" "$1" "$2"; }

cp "$tarvo" "$work/tarvo"
mkdir -p "$work/drop folder"
touch "$work/drop folder/new file.txt" "$work/drop folder/a|b.txt"
printf 'One=1\r\n|/bin/true|\r\n' >"$work/ITEMS.PRG"

(cd "$work" && exec ./tarvo ITEMS.PRG /C) >"$work/tarvo.log" 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1) || true
[[ -n $wid ]] || { echo "FAIL: no window of process $pid" >&2; cat "$work/tarvo.log" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
x=$((X + 100)) y=$((Y + 150))

# Two files in one drop, percent-encoded as file managers send them: only the
# first becomes an item.
uri_dir="file://${work// /%20}/drop%20folder"
"$xdnd_drop" "$wid" "$x" "$y" "$uri_dir/new%20file.txt"$'\r\n'"$uri_dir/other.txt"$'\r\n' ||
  fail "the window did not accept the drop"
printf 'One=1\r\n|/bin/true|\r\nnew file.txt=*\r\n%s|%s|\r\n' "$work/drop folder" "$work/drop folder/new file.txt" \
  >"$work/expected.PRG"
wait_until 10 cmp -s "$work/ITEMS.PRG" "$work/expected.PRG" ||
  fail "set file after the drop: $(od -c "$work/ITEMS.PRG" | head -n 20)"

# "|" in a name would split the item line: refused with a message box.
"$xdnd_drop" "$wid" "$x" "$y" "$uri_dir/a%7Cb.txt"$'\r\n' || fail "the window did not accept the second drop"
wait_until 10 windows_are -ge 2 || fail "no message box for a refused name"
cmp -s "$work/ITEMS.PRG" "$work/expected.PRG" || fail "a refused drop changed the set file"

# While the message box is open the main window takes no drop at all.
if "$xdnd_drop" "$wid" "$x" "$y" "$uri_dir/new%20file.txt"$'\r\n' 2>/dev/null; then
  fail "a drop was accepted while a modal window was open"
fi
sleep 0.5
cmp -s "$work/ITEMS.PRG" "$work/expected.PRG" || fail "a drop under a modal window changed the set file"
xdotool key Return  # closes the message box
wait_until 10 windows_are -eq 1 || fail "the message box did not close"

xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key Escape
wait_until 15 bash -c "! kill -0 $pid 2>/dev/null" || fail "the launcher did not end on Esc"
wait "$pid" || fail "the launcher exited with status $?"
pid=

if ((failures)); then
  cat "$work/tarvo.log" >&2
  exit 1
fi
echo "drop: ok"
