#!/usr/bin/env bash
# The first start in an empty folder, once per language: the language
# question, the notice, the environment dialog saved with Alt+S, every
# following box answered with its default button, then Esc on the main
# window. The program must end cleanly and leave its settings and the
# default set files beside itself. The last box, the "please restart"
# notice, comes over a main list holding one empty line, which must draw
# as nothing at all; the main window under it is left in $ARTIFACTS.
#
# Usage: first_start.sh TARVO_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools import convert
artifacts=${ARTIFACTS:-$work/artifacts}
mkdir -p "$artifacts"

# The main window as the box over it was answered; the last one taken is
# the main window under the last box.
main_shot=
snap_main() {
  local main
  [[ -n $main_shot ]] && main=$(window_named "Tarvo (Main)") && import -window "$main" "$main_shot" 2>/dev/null
  return 0
}

# The first line of the main list (client 5, 5 + 22 of menu bar; 2 px of
# border, lines of 18 px), inside its border: one colour when it holds no
# glyph, whether it is drawn selected or not.
first_line_colours() { convert "$1" -crop 182x16+9+30 +repage -format %k info:; }

# Presses Enter on each information box as it comes, until a window titled
# $1 shows, or (for "") until no box has come for three seconds.
answer_boxes_until() {
  local quiet=0 box i
  for ((i = 0; i < 600; i++)); do
    [[ -n $1 ]] && shows "$1" && return 0
    if box=$(window_named Information); then
      snap_main
      xdotool key Return
      wait_until 20 hidden "$box" || return 1
      quiet=0
    elif [[ -z $1 ]] && ((++quiet >= 60)); then
      return 0
    fi
    sleep 0.05
  done
  return 1
}

run_case() {
  case_name=$1
  local answer=$2 japanese=$3
  local dir="$work/$case_name" question
  mkdir -p "$dir"
  cp "$tarvo" "$dir/tarvo"
  (cd "$dir" && exec ./tarvo) >"$dir/tarvo.log" 2>&1 &
  pid=$!

  wait_until 30 shows Information || { abandon "no language question" "$dir/tarvo.log"; return; }
  question=$(window_named Information)
  xdotool key "$answer"
  wait_until 20 hidden "$question" || fail "the language question did not close"
  answer_boxes_until "Tarvo (Set Environment)" || { abandon "no environment dialog" "$dir/tarvo.log"; return; }
  xdotool key alt+s
  main_shot="$artifacts/first-start-notice-$case_name.png"
  rm -f "$main_shot"
  answer_boxes_until "" || { abandon "a box after saving did not close" "$dir/tarvo.log"; return; }
  shows "Tarvo (Main)" || fail "the main window is not showing"
  if [[ -f $main_shot ]]; then
    local colours
    colours=$(first_line_colours "$main_shot")
    ((colours == 1)) || fail "the empty first line of the main list draws something ($colours colours, see $main_shot)"
    echo "[$case_name] main window under the last box: $main_shot"
  else
    fail "no screenshot of the main window under the boxes"
  fi
  main_shot=
  xdotool key Escape
  expect_clean_end "$dir/tarvo.log"

  if [[ -f $dir/tarvo.INI ]]; then
    tr -d '\r' <"$dir/tarvo.INI" | grep -qx "Japanese=$japanese" || fail "tarvo.INI lacks Japanese=$japanese"
    tr -d '\r' <"$dir/tarvo.INI" | grep -qx "TarvoDir=$(cd "$dir" && pwd -P)/" || fail "tarvo.INI lacks the folder"
  else
    fail "no tarvo.INI written"
  fi
  for n in {90..99}; do
    [[ -s $dir/TARVO$n.PRG ]] || fail "no TARVO$n.PRG written"
  done
}

run_case japanese Return 1
run_case english n 0
finish
