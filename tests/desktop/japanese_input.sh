#!/usr/bin/env bash
# Japanese typed through the desktop's input method (uim-xim with Anthy,
# over XIM): in the item dialog a word is typed, converted and committed,
# and the set file then holds its CP932 bytes. Once with the input method
# running before the launcher starts, once with it started while the
# launcher's main window is already up (the launcher opens its input method
# with the first window that takes text).
#
# Leaves a screenshot of the item dialog with the committed word in
# $ARTIFACTS.
#
# Usage: japanese_input.sh TARVO_BINARY   (run under xvfb-run)
set -euo pipefail

tarvo=$(realpath "$1")
artifacts=${ARTIFACTS:-$(dirname "$0")/../../build/artifacts}
# shellcheck source=tests/desktop/common.sh
source "$(dirname "$0")/common.sh"
require_tools uim-xim xprop iconv od import
mkdir -p "$artifacts"

locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8' || { echo "japanese_input: the ja_JP.UTF-8 locale is missing" >&2; exit 2; }
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 XMODIFIERS=@im=uim
# Anthy learns from what is committed: a home of its own keeps the first
# candidate the dictionary's.
export HOME=$work/home
mkdir -p "$HOME"

im=
trap 'cleanup; [[ -z $im ]] || kill "$im" 2>/dev/null || true' EXIT
start_input_method() {
  uim-xim --engine=anthy-utf8 >"$work/uim-xim.log" 2>&1 &
  im=$!
  wait_until 20 registered || { fail "uim-xim did not register"; cat "$work/uim-xim.log" >&2; return 1; }
}
registered() { xprop -root XIM_SERVERS 2>/dev/null | grep -q '@server=uim'; }
stop_input_method() {
  kill "$im" 2>/dev/null || true
  wait "$im" 2>/dev/null || true
  im=
  # Gone from the root window, so that the next case waits for its own.
  xprop -root -remove XIM_SERVERS 2>/dev/null || true
}

start_launcher() {
  dir="$work/$case_name"
  mkdir -p "$dir"
  cp "$tarvo" "$dir/tarvo"
  printf 'One=1\r\n|/bin/true|\r\n' >"$dir/ITEMS.PRG"
  printf '[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/tarvo.INI"
  launch_in_dir
}

# The set editor's New, then 日本語 typed as "nihongo", converted with Space
# and committed with Enter; the target /bin/true; OK in both windows.
add_japanese_item() {
  local editor item
  xdotool windowfocus --sync "$(window_named "Tarvo (Main)")"
  xdotool key alt+o l
  wait_until 20 shows "Tarvo (Set Launcher)" || { fail "no set editor"; return 1; }
  editor=$(window_named "Tarvo (Set Launcher)")
  xdotool key alt+n
  wait_until 20 shows "Tarvo (Edit)" || { fail "no item dialog"; return 1; }
  item=$(window_named "Tarvo (Edit)")
  xdotool windowfocus --sync "$item"
  xdotool key shift+space
  xdotool type --delay 40 nihongo
  xdotool key space Return shift+space
  import -window "$item" "$artifacts/japanese-input-$case_name.png"
  xdotool key Tab
  xdotool type /bin/true
  xdotool key Return
  wait_until 20 hidden "$item" || { fail "the item dialog did not close"; return 1; }
  xdotool windowfocus --sync "$editor"
  xdotool key alt+o
  wait_until 20 hidden "$editor" || { fail "the set editor did not close"; return 1; }
}

check_saved() {
  local expected
  expected=$(printf 'One=1\r\n|/bin/true|\r\n日本語=*\r\n|/bin/true|\r\n' | iconv -f UTF-8 -t CP932 | od -An -tx1)
  [[ $(od -An -tx1 <"$dir/ITEMS.PRG") == "$expected" ]] ||
    fail "set file: $(od -An -c <"$dir/ITEMS.PRG" | tr -s ' \n' ' ') (wanted the item 日本語 in CP932: 93 fa 96 7b 8c ea)"
}

quit() {
  xdotool windowfocus --sync "$(window_named "Tarvo (Main)")" 2>/dev/null || true
  xdotool key Escape
  expect_clean_end "$dir/tarvo.log"
}

case_name=im-first
if start_input_method && start_launcher; then
  add_japanese_item && check_saved
  quit
fi
stop_input_method

case_name=im-later
if start_launcher && start_input_method; then
  add_japanese_item && check_saved
  quit
fi
stop_input_method

finish
