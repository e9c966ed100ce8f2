#!/usr/bin/env bash
# The windows as the user meets them: each one's size from its definition
# (the client area, plus the menu bar of the main window; for the sizeable
# item dialog, the defined outer size less a Windows frame, so that no
# empty strip is left below its buttons) and each dialog centred on the
# screen, at each display dpi given (Xft.dpi in the server's resources;
# 96 with none): sizes are the defined ones times dpi/96, to a pixel per
# edge. Leaves a screenshot of the item dialog at each dpi in $ARTIFACTS.
#
# Usage: window_sizes.sh TARVO_BINARY [DPI...]   (run under xvfb-run; 96 144 192 by default)
set -euo pipefail

tarvo=$(realpath "$1")
shift
dpis=("$@")
((${#dpis[@]})) || dpis=(96 144 192)
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools import xprop
artifacts=${ARTIFACTS:-$work/artifacts}
mkdir -p "$artifacts"

read -r screen_w screen_h < <(xdotool getdisplaygeometry)
gone() { ! shows "$1"; }

# Whether $1 pixels is $2 defined units at $dpi, to a pixel (each edge of a
# size is rounded on its own).
near() { local d=$(($1 * 96 - $2 * dpi)); ((d >= -96 && d <= 96)); }

# Checks the size of the window titled $1 against the defined $2 x $3, and
# that it is centred unless $4 is "anywhere" (to a pixel per rounding when
# scaled: the program centres in defined units).
check_window() {
  case_name="$1 at $dpi dpi"
  local title=$1 w=$2 h=$3 where=${4:-centred} id X Y WIDTH HEIGHT
  wait_until 20 shows "$title" || { fail "no window"; return 1; }
  id=$(window_named "$title")
  eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  if ((dpi == 96)); then
    [[ ${WIDTH}x$HEIGHT == "${w}x$h" ]] || fail "size ${WIDTH}x$HEIGHT, wanted ${w}x$h"
  else
    near "$WIDTH" "$w" && near "$HEIGHT" "$h" ||
      fail "size ${WIDTH}x$HEIGHT, wanted ${w}x$h times $dpi/96"
  fi
  if [[ $where == centred ]]; then
    local x=$(((screen_w - WIDTH) / 2)) y=$(((screen_h - HEIGHT) / 2)) slack=$((dpi == 96 ? 0 : 2))
    ((X - x <= slack && x - X <= slack && Y - y <= slack && y - Y <= slack)) ||
      fail "at $X,$Y, wanted $x,$y (centred)"
  fi
}

for dpi in "${dpis[@]}"; do
  # The launcher reads the resources as it starts.
  if ((dpi == 96)); then
    xprop -root -remove RESOURCE_MANAGER
  else
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$dpi"
  fi
  dir="$work/sizes-$dpi"
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
        import -window "$(window_named "Tarvo (Edit)")" "$artifacts/item-dialog-$dpi.png" &&
          echo "item dialog: $artifacts/item-dialog-$dpi.png"
        xdotool key Escape
        wait_until 20 gone "Tarvo (Edit)" || fail "the item dialog did not close"
      fi
      xdotool key Escape
    fi
    case_name="Tarvo (Sort Tarvo) at $dpi dpi"
    wait_until 20 gone "Tarvo (Set Launcher)" || fail "the set editor did not close"
    xdotool key alt+o s
    if check_window "Tarvo (Sort Tarvo)" 200 385; then
      xdotool key Escape
      wait_until 20 gone "Tarvo (Sort Tarvo)" || fail "the sort dialog did not close"
    fi
    case_name="the end at $dpi dpi"
    xdotool key Escape
    expect_clean_end "$dir/tarvo.log"
  else
    abandon "no main window" "$dir/tarvo.log"
  fi
done
xprop -root -remove RESOURCE_MANAGER
finish
