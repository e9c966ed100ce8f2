#!/usr/bin/env bash
# The windows as the user meets them: each one's size from its definition
# (the client area, plus the menu bar of the main window; for the sizeable
# item dialog, the defined outer size less a Windows frame, so that no
# empty strip is left below its buttons) and each dialog centred on the
# screen. Leaves a screenshot of the item dialog in $ARTIFACTS.
#
# Usage: window_sizes.sh TARVO_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools import
artifacts=${ARTIFACTS:-$work/artifacts}
mkdir -p "$artifacts"

read -r screen_w screen_h < <(xdotool getdisplaygeometry)
gone() { ! shows "$1"; }

# Checks the size of the window titled $1, and that it is centred unless $4
# is "anywhere".
check_window() {
  case_name=$1
  local title=$1 w=$2 h=$3 where=${4:-centred} id X Y WIDTH HEIGHT
  wait_until 20 shows "$title" || { fail "no window"; return 1; }
  id=$(window_named "$title")
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  [[ ${WIDTH}x$HEIGHT == "${w}x$h" ]] || fail "size ${WIDTH}x$HEIGHT, wanted ${w}x$h"
  if [[ $where == centred ]]; then
    local x=$(((screen_w - w) / 2)) y=$(((screen_h - h) / 2))
    [[ $X,$Y == "$x,$y" ]] || fail "at $X,$Y, wanted $x,$y (centred)"
  fi
}

dir="$work/sizes"
mkdir -p "$dir"
cp "$tarvo" "$dir/tarvo"
printf 'Alpha=a\r\n%s|/bin/true|x\r\nBravo=b\r\n%s|/bin/true|y\r\n' "$dir" "$dir" >"$dir/ITEMS.PRG"
printf '[Language]\r\nJapanese=1\r\nEnglish=0\r\n' >"$dir/tarvo.INI"
(cd "$dir" && exec ./tarvo ITEMS.PRG /C) >"$dir/tarvo.log" 2>&1 &
pid=$!

if check_window "Tarvo (Main)" 200 $((366 + 22)) anywhere; then
  xdotool key alt+o l
  if check_window "Tarvo (Set Launcher)" 322 368; then
    xdotool key alt+e
    if check_window "Tarvo (Edit)" $((540 - 8)) $((214 - 27)); then
      import -window "$(window_named "Tarvo (Edit)")" "$artifacts/item-dialog.png" &&
        echo "item dialog: $artifacts/item-dialog.png"
      xdotool key Escape
      wait_until 20 gone "Tarvo (Edit)" || fail "the item dialog did not close"
    fi
    xdotool key Escape
  fi
  case_name="Tarvo (Sort Tarvo)"
  wait_until 20 gone "Tarvo (Set Launcher)" || fail "the set editor did not close"
  xdotool key alt+o s
  if check_window "Tarvo (Sort Tarvo)" 200 385; then
    xdotool key Escape
    wait_until 20 gone "Tarvo (Sort Tarvo)" || fail "the sort dialog did not close"
  fi
  case_name="the end"
  xdotool key Escape
  expect_clean_end "$dir/tarvo.log"
else
  abandon "no main window" "$dir/tarvo.log"
fi
finish
