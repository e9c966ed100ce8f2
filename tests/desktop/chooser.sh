#!/usr/bin/env bash
# The desktop's file chooser (GTK 3), driven as a user drives it. The item
# dialog's Browse: "Exe File (EXE;COM)" lists a.exe, B.COM and e.Exe; the
# filter list, opened by mouse, ends with "Pif File", which lists d.BaT
# alone, then "All File" (no filter of GTK's own after them); a double
# click takes d.BaT. Sort Kesti's chooser opens with KESTI.PRG selected.
# The open filter list is left in $ARTIFACTS.
#
# Usage: chooser.sh TARVO_BINARY   (under xvfb-run, on a screen that holds
# GTK's chooser whole: 1280x1024)
set -euo pipefail

tarvo=$(realpath "$1")
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools import
artifacts=${ARTIFACTS:-$work/artifacts}
mkdir -p "$artifacts"
[[ $(/sbin/ldconfig -p) == *'libgtk-3.so.0 '* ]] ||
  { echo "${0##*/}: GTK 3 is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }

start() {
  case_name=$1
  dir="$work/$case_name"
  mkdir -p "$dir"
  cp "$tarvo" "$dir/tarvo"
  printf 'Alpha=a\r\n%s|/bin/true|x\r\n' "$dir" >"$dir/ITEMS.PRG"
  printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/tarvo.INI"
  # GTK keeps its chooser's settings in memory: no session bus here.
  launch_in_dir GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
}
# Keys go to the window under the pointer: there is no window manager.
key_in() { xdotool mousemove --window "$(window_named "$1")" 30 30 key "${@:2}"; }
quit() {
  key_in "Tarvo (Main)" Escape
  expect_clean_end "$dir/tarvo.log"
}

# The chooser: the launcher's large window that is none of its forms.
find_chooser() {
  local w HEIGHT
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == "Tarvo ("* ]] && continue
    eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^HEIGHT=')"
    ((HEIGHT > 300)) && { chooser=$w; return 0; }
  done
  return 1
}
# Row N (from 1) of the chooser's list, rows of 22 px under its header: the
# middle of its names, drawn selected (GTK's blue), or empty.
row_y() { echo $((60 + 22 * $1)); }
row_colours() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$chooser" | grep -E '^[XY]=')"
  import -window root -crop "220x14+$((X + 180))+$((Y + $(row_y "$1") - 7))" +repage -depth 8 txt:-
}
row_selected() { [[ $(row_colours "$1") == *'#3584E4'* ]]; }
row_empty() { [[ $(row_colours "$1" | tail -n +2 | awk '{print $3}' | sort -u | wc -l) == 1 ]]; }
# The list holds exactly N lines.
lists() { ! row_empty "$1" && row_empty $(($1 + 1)); }
# GTK names its pop-up windows after the program.
filter_list_open() {
  local w HEIGHT
  for w in $(xdotool search --onlyvisible --pid "$pid" --name '^tarvo$' 2>/dev/null); do
    [[ $w == "$chooser" ]] && continue
    eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^HEIGHT=')"
    ((HEIGHT > 20)) && return 0
  done
  return 1
}
gone() { ! shows "$1"; }

if start browse; then
  touch "$dir/a.exe" "$dir/B.COM" "$dir/e.Exe" "$dir/c.txt" "$dir/d.BaT"
  key_in "Tarvo (Main)" alt+o l
  wait_until 20 shows "Tarvo (Set Launcher)" && key_in "Tarvo (Set Launcher)" alt+n
  wait_until 20 shows "Tarvo (Edit)" && key_in "Tarvo (Edit)" alt+b
  if wait_until 20 find_chooser; then
    xdotool mousemove --window "$chooser" 300 300
    wait_until 20 lists 3 || fail "Exe File (EXE;COM) does not list a.exe, B.COM and e.Exe alone"
    eval "$(xdotool getwindowgeometry --shell "$chooser" | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$chooser" $((WIDTH - 170)) $((HEIGHT - 69)) click 1
    if wait_until 20 filter_list_open; then
      import -window root -crop 500x130+680+720 "$artifacts/chooser-filters.png"
      xdotool key End Up Return
      wait_until 20 lists 1 || fail "the last filter but one lists more than d.BaT"
      xdotool mousemove --window "$chooser" 300 "$(row_y 1)" click --repeat 2 --delay 80 1
    else
      fail "no filter list after a click"
    fi
    wait_until 20 hidden "$chooser" || fail "the chooser did not close"
    key_in "Tarvo (Edit)" alt+o
    wait_until 20 gone "Tarvo (Edit)" && key_in "Tarvo (Set Launcher)" alt+o
    wait_until 20 gone "Tarvo (Set Launcher)" || fail "the editor did not close"
    grep -qF "|$dir/d.BaT|" "$dir/ITEMS.PRG" || fail "chosen: $(tr '\r\n' '  ' <"$dir/ITEMS.PRG")"
  else
    fail "no chooser"
  fi
  quit
fi

# KESTI.PRG, the third line after a folder and the set file, is selected.
if start kesti; then
  printf 'header\r\nAlpha=a\r\nx\r\n' >"$dir/KESTI.PRG"
  mkdir "$dir/AAA"
  touch "$dir/other.prg"
  key_in "Tarvo (Main)" alt+o f
  if wait_until 20 find_chooser; then
    xdotool mousemove --window "$chooser" 300 300
    if wait_until 20 row_selected 3; then
      xdotool key Return
      wait_until 20 shows "Tarvo (Sort Kesti)" || fail "Enter took no file"
      key_in "Tarvo (Sort Kesti)" Escape
    else
      fail "KESTI.PRG is not selected"
      xdotool key Escape
    fi
    wait_until 20 shows "Tarvo (Main)" || fail "no main window after the chooser"
  else
    fail "no chooser"
  fi
  quit
fi

finish
