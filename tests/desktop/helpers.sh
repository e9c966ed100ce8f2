#!/usr/bin/env bash
# Our X11 helpers against a peer whose behaviour is known (helper_peer):
#   - xdnd_drop hands over the data of an accepted drop, and tells a refused,
#     an unanswered and an unfinished drop apart from it, each within its
#     bound; a window that takes no drops gets no XDND message at all;
#   - xmapwait times the map and the last drawing of its command's own window
#     (not another program's), and ends the command, or only its first child
#     with -g.
#
# Usage: helpers.sh XDND_DROP XMAPWAIT HELPER_PEER   (run under xvfb-run)
# shellcheck disable=SC2016  # the $ in sh -c commands are that shell's
set -euo pipefail

xdnd_drop=$(realpath "$1")
xmapwait=$(realpath "$2")
peer=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
hold_display

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Read anew on every try of wait_until.
target_saw() { [[ $(tail -n +2 "$work/target.log") == "$1" ]]; }

uri=$'file:///tmp/a%20b.txt\r\n'
data='data 23 file:///tmp/a%20b.txt\x0d\x0a'

# One drop on a new target: VERSION MODE STATUS EXPECTED_LOG [MIME]. The
# target's log is its lines after its window id.
drop_case() {
  local version=$1 mode=$2 status=$3 expected=$4 rc=0 started elapsed
  case_name="drop $version $mode${5:+ $5}"
  rm -f "$work/target.log"
  "$peer" target "$version" "$mode" >"$work/target.log" &
  local target_pid=$!
  wait_until 10 test -s "$work/target.log" || { fail "the target did not start"; return; }
  target=$(head -n1 "$work/target.log")
  started=$(now_ms)
  "$xdnd_drop" "$target" 10 20 "$uri" ${5:+"$5"} 2>"$work/drop.err" || rc=$?
  elapsed=$(($(now_ms) - started))
  ((rc == status)) || fail "exit status $rc, not $status: $(cat "$work/drop.err")"
  ((elapsed < 8000)) || fail "it took $elapsed ms"
  wait_until 10 target_saw "$expected" || fail "the target saw: $(tail -n +2 "$work/target.log")"
  kill "$target_pid" 2>/dev/null || true
  wait "$target_pid" 2>/dev/null || true
}

enter=$'enter version=5 type=text/uri-list\nposition 10 20'
drop_case 5 accept 0 "$enter"$'\ndrop\n'"$data"
# FLTK's version: the exchange is spoken at the lower one.
drop_case 4 accept 0 "${enter/version=5/version=4}"$'\ndrop\n'"$data"
drop_case 5 accept 0 "${enter/uri-list/plain}"$'\ndrop\n'"$data" text/plain
drop_case 5 refuse 1 "$enter"$'\nleave'
drop_case 5 silent 1 "$enter"$'\nleave'
drop_case 5 unfinished 1 "$enter"$'\ndrop\n'"$data"
drop_case 0 accept 2 ""

case_name="drop on a window that is gone"
rc=0
"$xdnd_drop" "$target" 10 20 "$uri" 2>/dev/null || rc=$?
((rc == 2)) || fail "exit status $rc, not 2"

# ------------------------------------------------------------------ xmapwait
map_re='^([0-9.]+) ms class=HelperPeer drawn=([0-9.]+) ms$'
# Milliseconds between two printed times.
gap() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%d", b - a}'; }

case_name="map and drawing"
out=$("$xmapwait" -d -w 1200 sh -c 'echo $$ >"$0"; exec "$1" window 300 600' "$work/pid" "$peer")
if [[ $out =~ $map_re ]]; then
  map=${BASH_REMATCH[1]} drawn=${BASH_REMATCH[2]}
  (($(gap 0 "$map") >= 300)) || fail "mapped at $map ms, before the window was made"
  (($(gap "$map" "$drawn") >= 400)) || fail "drawn at $drawn ms, before the paint 600 ms after the map at $map ms"
else
  fail "output: $out"
fi
wait_until 10 is_gone "$(cat "$work/pid")" || fail "the command still runs"

case_name="nothing drawn after the map"
out=$("$xmapwait" -d -w 1000 "$peer" window 0 -1)
if [[ $out =~ $map_re ]]; then
  (($(gap "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}") < 500)) || fail "a still window counted as drawn late: $out"
else
  fail "output: $out"
fi

case_name="another program's window"
"$peer" window 100 -1 &
other=$!
out=$("$xmapwait" "$peer" window 700 -1)
kill "$other"
wait "$other" 2>/dev/null || true
if [[ $out =~ ^([0-9.]+)\ ms\ class=HelperPeer$ ]]; then
  (($(gap 0 "${BASH_REMATCH[1]}") >= 650)) || fail "took the other program's map: $out"
else
  fail "output: $out"
fi

# The wrapper outlives the child that -g ends, and reports its signal.
case_name="-g ends the first child"
rm -f "$work/status"
out=$("$xmapwait" -g sh -c '"$0" window 0 -1; echo $? >"$1"' "$peer" "$work/status")
[[ $(cat "$work/status" 2>/dev/null) == 143 ]] || fail "the wrapper saw: $(cat "$work/status" 2>&1)"

case_name="no map in time"
started=$(now_ms) rc=0
"$xmapwait" -t 500 sh -c 'echo $$ >"$0"; exec "$1" window 5000 -1' "$work/pid" "$peer" 2>/dev/null || rc=$?
((rc == 1 && $(now_ms) - started < 4000)) || fail "exit status $rc after $(($(now_ms) - started)) ms"
wait_until 10 is_gone "$(cat "$work/pid")" || fail "the command still runs"

case_name="command ends first"
started=$(now_ms) rc=0
"$xmapwait" -t 20000 false 2>/dev/null || rc=$?
((rc == 1 && $(now_ms) - started < 4000)) || fail "exit status $rc after $(($(now_ms) - started)) ms"

finish
