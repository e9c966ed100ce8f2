#!/usr/bin/env bash
# Every control kind by mouse. Lists: a press selects the line under the
# pointer and the program follows at once; a double click acts on the line
# clicked. Checked in the main window (what starts), the set editor (what
# Delete removes) and the sorted list of Sort Tarvo (where type-to-select
# goes on from). Menu commands, radio buttons, check boxes, buttons and edit
# boxes: checked by what the program writes afterwards.
#
# Usage: mouse.sh TARVO_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools import

# Five items, every one starting the recorder with its own name; all keys
# the same so that type-to-select has a choice. Titles out of order, for
# the sorted list.
titles=(Echo Bravo Delta Alpha Charlie)
item_lines() {
  local n
  for n in "$@"; do printf '%s=x\r\n%s|%s|item%s\r\n' "${titles[n - 1]}" "$dir" "$dir/recorder.sh" "$n"; done
}

prepare() {
  case_name=$1
  dir="$work/$case_name"
  mkdir -p "$dir"
  cp "$tarvo" "$dir/tarvo"
  # shellcheck disable=SC2016  # $1 is the recorder's
  printf '#!/bin/sh\necho "$1" >>"%s/started.txt"\n' "$dir" >"$dir/recorder.sh"
  chmod +x "$dir/recorder.sh"
  item_lines 1 2 3 4 5 >"$dir/ITEMS.PRG"
  printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/tarvo.INI"
}
# $1 the case, then NAME=VALUE... for the launcher's environment.
start() {
  prepare "$1"
  launch_in_dir "${@:2}"
}

# Screen point of line $2 (from 1) of a list at client (5, $3) of window $1:
# 2 px of border, lines of 18 px.
line_point() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=')"
  echo "$((X + 5 + 60)) $((Y + $3 + 2 + ($2 - 1) * 18 + 9))"
}
click_line() { read -r x y < <(line_point "$@") && xdotool mousemove --sync "$x" "$y" click 1; }
double_click_line() { read -r x y < <(line_point "$@") && xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1; }
# The lines drawn selected, by the colour at the right of each line: an
# unselected one is white there.
selected_lines() {
  local n x y
  for n in 1 2 3 4 5; do
    read -r x y < <(line_point "$1" "$n" "$2")
    [[ $(import -window root -crop "1x1+$((x + 100))+$y" -depth 8 txt:- | tail -n1) == *'#FFFFFF'* ]] || printf '%s ' "$n"
  done
}
# Looked at anew on every try of wait_until.
selected_are() { [[ $(selected_lines "$1" "$2") == "$3" ]]; }
started_count() { [[ $(wc -l 2>/dev/null <"$dir/started.txt" || echo 0) -ge $1 ]]; }

quit() {
  # Without a window manager the keys go to the window under the pointer.
  if main=$(window_named "Tarvo (Main)"); then xdotool mousemove --window "$main" 100 100; fi
  xdotool key Escape
  expect_clean_end "$dir/tarvo.log"
}

# Clicks client point ($2, $3) of window $1.
click_in() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=')"
  xdotool mousemove --sync "$((X + $2))" "$((Y + $3))" click 1
}
# The open drop-down menu of the launcher: the taller of its nameless
# windows (the other is the menu's title).
menu_window() {
  local w HEIGHT best='' tallest=0
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [[ -z $(xdotool getwindowname "$w" 2>/dev/null) ]] || continue
    eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^HEIGHT=')"
    ((HEIGHT > tallest)) && best=$w tallest=$HEIGHT
  done
  [[ -n $best ]] && echo "$best"
}
has_menu() { menu_window >/dev/null; }
# Clicks the top menu at x = $2 of window $1's menu bar, then command $3
# of the $4 commands the drop-down shows.
click_menu() {
  local menu H
  click_in "$1" "$2" 11
  wait_until 10 has_menu || return 1
  menu=$(menu_window)
  eval "$(xdotool getwindowgeometry --shell "$menu" | grep -E '^HEIGHT=')"
  H=$HEIGHT
  click_in "$menu" 30 "$((H * (2 * $3 - 1) / (2 * $4)))"
}
ini_has() { tr -d '\r' <"$dir/tarvo.INI" | grep -qx "$1"; }

# Main window (menu bar of 22 px): a click then Enter starts the clicked
# item; a double click starts the double-clicked one; a click alone none.
if start main; then
  main=$(window_named "Tarvo (Main)")
  click_line "$main" 3 27
  xdotool key Return
  wait_until 20 started_count 1 || fail "Enter after a click started nothing"
  double_click_line "$main" 5 27
  wait_until 20 started_count 2 || fail "a double click started nothing"
  sleep 0.5
  [[ $(cat "$dir/started.txt" 2>/dev/null) == $'item3\nitem5' ]] ||
    fail "started: $(tr '\n' ' ' <"$dir/started.txt" 2>/dev/null) (wanted item3, then item5)"
  quit
fi

# Set editor: Delete removes the clicked item, OK writes the rest.
if start editor; then
  xdotool key alt+o l
  if wait_until 20 shows "Tarvo (Set Launcher)"; then
    editor_window=$(window_named "Tarvo (Set Launcher)")
    click_line "$editor_window" 3 5
    xdotool key alt+d alt+o
    wait_until 20 hidden "$editor_window" || fail "the editor did not close"
    cmp -s "$dir/ITEMS.PRG" <(item_lines 1 2 4 5) || fail "set file after Delete: $(tr '\r\n' '  ' <"$dir/ITEMS.PRG")"
  else
    fail "no set editor"
  fi
  quit
fi

# Sort Tarvo: the click selects, and type-to-select goes on from the clicked
# line (Bravo, then the next x line: Charlie).
if start sort; then
  xdotool key alt+o s
  if wait_until 20 shows "Tarvo (Sort Tarvo)"; then
    sort_window=$(window_named "Tarvo (Sort Tarvo)")
    # The window maps before its list is drawn.
    wait_until 5 selected_are "$sort_window" 5 "1 " ||
      fail "at start, lines selected: $(selected_lines "$sort_window" 5)"
    click_line "$sort_window" 2 5
    wait_until 5 selected_are "$sort_window" 5 "2 " ||
      fail "after a click on line 2, lines selected: $(selected_lines "$sort_window" 5)"
    xdotool type x
    wait_until 5 selected_are "$sort_window" 5 "3 " ||
      fail "after x, lines selected: $(selected_lines "$sort_window" 5)"
    xdotool key Escape
    wait_until 20 hidden "$sort_window" || fail "the sort dialog did not close"
  else
    fail "no sort dialog"
  fi
  quit
fi

# Options > Set INI file by mouse (shown when started without a set file):
# a click on a radio button and on the check box changes them, Save takes
# them, EXIT writes them.
prepare environment
item_lines 1 >"$dir/TARVO90.PRG"
printf '[FormMain]\r\nStateSet=/Z\r\nPosSet=0\r\n[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/tarvo.INI"
(cd "$dir" && exec ./tarvo) >"$dir/tarvo.log" 2>&1 &
pid=$!
if wait_until 30 shows "Tarvo (Main)"; then
  main=$(window_named "Tarvo (Main)")
  # Options is the second top menu; Set INI file its sixth command.
  click_menu "$main" 90 6 6 || fail "no Options menu after a click"
  if wait_until 20 shows "Tarvo (Set Environment)"; then
    env_window=$(window_named "Tarvo (Set Environment)")
    click_in "$env_window" 60 135  # RadioBtnI
    click_in "$env_window" 340 105 # CheckBox1
    click_in "$env_window" 360 195 # btnOk
    wait_until 20 hidden "$env_window" || fail "Save did not close the environment dialog"
    click_in "$main" 165 367 # btnExit
    expect_clean_end "$dir/tarvo.log"
    ini_has 'StateSet=/I' || fail "a click on RadioBtnI was not taken: $(grep StateSet "$dir/tarvo.INI")"
    ini_has 'PosSet=1' || fail "a click on the check box was not taken: $(grep PosSet "$dir/tarvo.INI")"
  else
    abandon "no environment dialog after the menu click" "$dir/tarvo.log"
  fi
else
  abandon "no main window" "$dir/tarvo.log"
fi

# An edit box by mouse: a click puts the caret where it was clicked (after
# the text), typing goes there; OK by mouse in the item dialog and in the
# editor writes it.
if start item; then
  xdotool key alt+o l
  if wait_until 20 shows "Tarvo (Set Launcher)"; then
    editor_window=$(window_named "Tarvo (Set Launcher)")
    click_line "$editor_window" 2 5
    click_in "$editor_window" 260 65 # btnEdit
    if wait_until 20 shows "Tarvo (Edit)"; then
      item_window=$(window_named "Tarvo (Edit)")
      click_in "$item_window" 500 93 # Edit3, right of its text
      xdotool type Z
      click_in "$item_window" 360 165 # btnOk
      wait_until 20 hidden "$item_window" || fail "OK did not close the item dialog"
      click_in "$editor_window" 50 345 # btnOk
      wait_until 20 hidden "$editor_window" || fail "OK did not close the editor"
      cmp -s "$dir/ITEMS.PRG" <(item_lines 1 && printf 'Bravo=x\r\n%s|%s|item2Z\r\n' "$dir" "$dir/recorder.sh" &&
        item_lines 3 4 5) || fail "set file after typing into the options box: $(tr '\r\n' '  ' <"$dir/ITEMS.PRG")"
    else
      fail "no item dialog after a click on Edit"
    fi
  else
    fail "no set editor"
  fi
  quit
fi

# Sort Kesti, opened through the desktop's file chooser: the dialog that
# comes up where the chooser was draws its own lines, the first selected.
# GTK keeps its settings in memory and leaves out its accessibility
# bridge: no session bus here.
if start kesti GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1; then
  printf 'header\r\nAlpha=a\r\nx\r\nBeta=b\r\ny\r\nGamma=*\r\n' >"$dir/KESTI.PRG"
  xdotool key alt+o f
  other_window() {
    local w HEIGHT
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      # Menus have no name; GTK keeps a small window of its own.
      case $(xdotool getwindowname "$w" 2>/dev/null) in "Tarvo (Main)" | "") continue ;; esac
      eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^HEIGHT=')"
      ((HEIGHT > 300)) && { chooser=$w; return 0; }
    done
    return 1
  }
  if wait_until 20 other_window; then
    sleep 1 # the chooser reads the folder before it takes keys
    # Without a window manager the keys go to the window under the pointer.
    xdotool mousemove --window "$chooser" 200 200
    # Typing a name opens the chooser's location field.
    xdotool type KESTI.PRG
    sleep 0.5
    xdotool key Return
    if wait_until 20 shows "Tarvo (Sort Kesti)"; then
      kesti_window=$(window_named "Tarvo (Sort Kesti)")
      wait_until 5 selected_are "$kesti_window" 5 "1 " ||
        fail "Sort Kesti after the chooser, lines selected: $(selected_lines "$kesti_window" 5)"
      xdotool mousemove --window "$kesti_window" 100 100
      xdotool key Escape
      wait_until 20 hidden "$kesti_window" || fail "the Sort Kesti dialog did not close"
      wait_until 20 shows "Tarvo (Main)" && xdotool mousemove --window "$(window_named "Tarvo (Main)")" 100 100
    else
      fail "no Sort Kesti dialog after the chooser"
    fi
  else
    fail "no file chooser"
  fi
  quit
fi

finish
