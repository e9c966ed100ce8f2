#!/usr/bin/env bash
# Drives the real launcher on an X display (run it under xvfb-run), once in
# Japanese and once in English: select an item by its shortcut key, start it
# with Enter, check what the started program received, leave with Esc.
# Leaves a screenshot of the main window per language in $ARTIFACTS.
#
# Usage: smoke.sh [TARVO_BINARY]   (default: build/tarvo of this checkout)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tarvo=$(realpath "${1:-$root/build/tarvo}")
artifacts=${ARTIFACTS:-$root/build/artifacts}

# shellcheck source=common.sh
source "$here/common.sh"
require_tools import convert iconv
[[ -x $tarvo ]] || { echo "smoke: no program at $tarvo" >&2; exit 2; }
mkdir -p "$artifacts"

hold_display

run_case() {
  case_name=$1
  local dir="$work/$case_name"
  local start="$dir/start in"
  mkdir -p "$start"
  cp "$tarvo" "$dir/tarvo"

  # The started program writes its record in one rename, so a half-written
  # file is never read.
  cat >"$dir/probe.sh" <<EOF
#!/bin/sh
{ for a in "\$@"; do printf '%s\n' "\$a"; done; printf 'cwd=%s\n' "\$(pwd -P)"; } >"$dir/record.part"
mv "$dir/record.part" "$dir/record.txt"
EOF
  cat >"$dir/decoy.sh" <<EOF
#!/bin/sh
echo "\$0 \$*" >>"$dir/decoy.txt"
EOF
  chmod +x "$dir/probe.sh" "$dir/decoy.sh"

  # The first item is selected at start and the last has a Japanese title:
  # only the shortcut key leads to the probe. Shell syntax in the options
  # must reach the program literally.
  # shellcheck disable=SC2016  # literal on purpose
  local options='"a b" ; $(echo hi) `id` | c'
  printf 'Alpha=a\r\n%s|%s|first\r\nProbe=p\r\n%s|%s|%s\r\nメモ帳=m\r\n%s|%s|last\r\n' \
    "$dir" "$dir/decoy.sh" "$start" "$dir/probe.sh" "$options" "$dir" "$dir/decoy.sh" |
    iconv -f UTF-8 -t CP932 >"$dir/ITEMS.PRG"
  if [[ $case_name == english ]]; then
    printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/tarvo.INI"
  fi

  # Started from another folder: the set file is found beside the program and
  # the item's start-in folder is not simply inherited.
  (cd / && exec "$dir/tarvo" ITEMS.PRG /C) >"$dir/tarvo.log" 2>&1 &
  pid=$!

  # By process id: a window of the same title left by another run must not be taken.
  local wid
  wid=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1) || true
  if [[ -z $wid ]]; then
    fail "no visible window of process $pid within 30 s"
    cat "$dir/tarvo.log" >&2
    kill "$pid" 2>/dev/null || true
    pid=
    return
  fi
  echo "[$case_name] window $wid: $(xdotool getwindowname "$wid" 2>/dev/null || echo '?')"

  timeout 10 xdotool windowfocus --sync "$wid" || fail "could not focus window $wid"
  timeout 10 xdotool type --delay 50 p || fail "could not type the shortcut key"
  timeout 10 xdotool key Return || fail "could not press Enter"

  if ! wait_until 20 test -f "$dir/record.txt"; then
    fail "the probe item did not start within 20 s"
  else
    local expected
    # shellcheck disable=SC2016  # literal on purpose
    expected=$(printf '%s\n' 'a b' ';' '$(echo' 'hi)' '`id`' '|' 'c' "cwd=$(cd "$start" && pwd -P)")
    if [[ $(cat "$dir/record.txt") != "$expected" ]]; then
      fail "the probe received other arguments or folder"
      diff <(echo "$expected") "$dir/record.txt" >&2 || true
    fi
  fi
  [[ ! -e $dir/decoy.txt ]] || fail "another item started: $(cat "$dir/decoy.txt")"
  ! is_gone "$pid" || fail "the window closed after a launch although /C was given"

  local shot="$artifacts/main-$case_name.png"
  rm -f "$shot"
  if timeout 20 import -window "$wid" "$shot"; then
    # An unpainted window is one flat colour; a drawn one has text and frames.
    local colours
    colours=$(convert "$shot" -format %k info:)
    ((colours > 2)) || fail "the screenshot has $colours colour(s): nothing drawn"
    echo "[$case_name] screenshot $shot ($colours colours)"
  else
    fail "could not take a screenshot of window $wid"
  fi

  timeout 10 xdotool windowfocus --sync "$wid" || true
  timeout 10 xdotool key Escape || fail "could not press Esc"
  if wait_until 15 is_gone "$pid"; then
    local rc=0
    wait "$pid" || rc=$?
    ((rc == 0)) || { fail "the program ended with status $rc"; cat "$dir/tarvo.log" >&2; }
  else
    fail "the program did not end within 15 s of Esc"
  fi
  pid=
}

run_case japanese
run_case english

if ((failures > 0)); then
  echo "smoke: $failures failure(s)" >&2
  exit 1
fi
echo "smoke: all checks passed"
