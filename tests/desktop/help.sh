#!/usr/bin/env bash
# Help > Help Topics on the desktop: the HTML page named after the mode's
# help file (TARVO.html for Japanese, TARVOE.html for English, both when
# both flags are set) is handed to the desktop's opener, here a
# fake xdg-open first on PATH that records what it was given. A missing
# page, or an opener that fails (at once or seconds later, as xdg-open does
# when it finds no browser), gets a box titled with the program's name and
# opens nothing.
#
# Usage: help.sh TARVO_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
pages="$here/../../help"
# shellcheck source=tests/desktop/common.sh
source "$here/common.sh"

# $1 case, $2 $3 the Japanese and English flags, $4 pages present (yes/no),
# $5 the opener's exit status, $6 the seconds it takes (default none).
start() {
  case_name=$1
  dir="$work/$case_name"
  mkdir -p "$dir/bin"
  cp "$tarvo" "$dir/tarvo"
  if [[ $4 == yes ]]; then cp "$pages/TARVO.html" "$pages/TARVOE.html" "$dir/"; fi
  # shellcheck disable=SC2016  # $1 is the opener's
  printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\nsleep %s\ntouch "%s/ended"\nexit %s\n' \
    "$dir" "${6:-0}" "$dir" "$5" >"$dir/bin/xdg-open"
  chmod +x "$dir/bin/xdg-open"
  printf 'Alpha=a\r\n%s|/bin/true|x\r\n' "$dir" >"$dir/ITEMS.PRG"
  printf '[Language]\r\nJapanese=%s\r\nEnglish=%s\r\n' "$2" "$3" >"$dir/tarvo.INI"
  launch_in_dir PATH="$dir/bin:$PATH"
}
opened() { cat "$dir/opened.txt" 2>/dev/null || true; }
opened_lines() { [[ $(opened | wc -l) -ge $1 ]]; }
opener_ended() { [[ -e $dir/ended ]]; }
quit() {
  xdotool key Escape
  expect_clean_end "$dir/tarvo.log"
}

# The page of the mode is opened, and no box comes.
for mode in "japanese 1 0 TARVO" "english 0 1 TARVOE"; do
  read -r name ja en page <<<"$mode"
  if start "$name" "$ja" "$en" yes 0; then
    xdotool key alt+h c
    wait_until 20 opened_lines 1 || fail "the opener was not called"
    sleep 0.5
    [[ $(opened) == "$(cd "$dir" && pwd -P)/$page.html" ]] || fail "opened: $(opened) (wanted $page.html)"
    ! shows tarvo || fail "a box came although the page was opened"
    quit
  fi
done

# Both flags: the Japanese page and the English one, their openers running
# side by side (so either may write first).
if start both 1 1 yes 0; then
  xdotool key alt+h c
  wait_until 20 opened_lines 2 || fail "the opener was not called twice: $(opened)"
  expected=$(printf '%s/TARVO.html\n%s/TARVOE.html' "$(cd "$dir" && pwd -P)" "$(cd "$dir" && pwd -P)")
  [[ $(opened | LC_ALL=C sort) == "$expected" ]] || fail "opened: $(opened | tr '\n' ' ')"
  quit
fi

# An opener that takes its time and succeeds: no box.
if start opener_slow 0 1 yes 0 3; then
  xdotool key alt+h c
  wait_until 20 opener_ended || fail "the opener did not end"
  sleep 1 # the launcher looks at its opener four times a second
  ! shows tarvo || fail "a box came although the opener succeeded"
  quit
fi

# No page, or an opener that fails: the box, and the program goes on.
for mode in "missing no 0 0" "opener_fails yes 3 0" "opener_fails_late yes 3 3"; do
  read -r name present status seconds <<<"$mode"
  if start "$name" 0 1 "$present" "$status" "$seconds"; then
    xdotool key alt+h c
    if wait_until 20 shows tarvo; then
      box=$(window_named tarvo)
      xdotool key Return
      wait_until 20 hidden "$box" || fail "the box did not close"
    else
      fail "no box"
    fi
    [[ $present == yes || -z $(opened) ]] || fail "the opener was called for a missing page: $(opened)"
    shows "Tarvo (Main)" || fail "the main window went"
    quit
  fi
done

finish
