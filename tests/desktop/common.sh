# shellcheck shell=bash
# Helpers for the desktop test scripts (sourced). The script sets case_name
# before each case and $pid to the running launcher.

[[ -n ${DISPLAY:-} ]] || { echo "${0##*/}: DISPLAY is not set; run under xvfb-run" >&2; exit 2; }
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "${0##*/}: $tool is missing" >&2; exit 2; }
  done
}
require_tools xdotool

work=$(mktemp -d)
pid=
case_name=
failures=0
holder=
cleanup() {
  if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  [[ -z $holder ]] || kill "$holder" 2>/dev/null || true
  rm -rf "$work"
}

# An X server started without -noreset resets when its last client leaves and
# drops connections made meanwhile; one idle client held open prevents that.
hold_display() {
  if command -v xev >/dev/null; then
    xev -root -event property >/dev/null 2>&1 &
    holder=$!
  fi
}
trap cleanup EXIT

fail() {
  echo "FAIL [$case_name]: $*" >&2
  failures=$((failures + 1))
}

# Polls (bounded) until the command succeeds; the bound only guards against a hang.
wait_until() {
  local tries=$(($1 * 20)); shift
  while ((tries-- > 0)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# Ended, or a zombie waiting to be reaped (kill -0 still reaches a zombie).
is_gone() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
  [[ -z $state || $state == Z ]]
}

# The visible window of the launcher with exactly this title, if any.
window_named() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == "$1" ]] && { echo "$w"; return 0; }
  done
  return 1
}
shows() { window_named "$1" >/dev/null; }
hidden() { ! xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$1"; }

# Starts the copy of the launcher in $dir on its ITEMS.PRG with /C (the
# window stays after a launch), with the environment NAME=VALUE... added,
# and waits for its main window.
launch_in_dir() {
  (cd "$dir" && exec env "$@" ./tarvo ITEMS.PRG /C) >"$dir/tarvo.log" 2>&1 &
  pid=$!
  wait_until 30 shows "Tarvo (Main)" || { abandon "no main window" "$dir/tarvo.log"; return 1; }
}

# Waits for the launcher to end after the last key and checks its status.
expect_clean_end() {
  if wait_until 30 is_gone "$pid"; then
    local rc=0
    wait "$pid" || rc=$?
    ((rc == 0)) || { fail "the program ended with status $rc"; cat "$1" >&2; }
  else
    fail "the program did not end within 30 s"
  fi
  pid=
}

# Gives up on the running launcher after a failed step.
abandon() {
  fail "$1"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  cat "$2" >&2
}

finish() {
  if ((failures > 0)); then
    echo "${0##*/}: $failures failure(s)" >&2
    exit 1
  fi
  echo "${0##*/}: all checks passed"
}
