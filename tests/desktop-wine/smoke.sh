#!/usr/bin/env bash
# Drives TARVO.EXE under Wine on a virtual X display, as a user would with
# the keyboard, and checks what it starts and writes:
#   - an item picked by its shortcut key and started with Enter reaches the
#     started program with its options and start-in folder exactly;
#   - a drop on a full set is refused with the program's box; the editor
#     (Options > Launcher Set) edits an item in the item dialog, deletes one
#     and writes the set file; a dropped file then becomes the last item;
#   - F4 brings a window of the companion's class "KestiMainWin" to the front;
#   - Esc ends the program, and TARVO.INI is written only in the run whose
#     environment dialog was left with Save, with the window's bounds;
#   - in a folder named 表ソ十, a set file named 日本語メニュー.PRG given on
#     the command line is read, its item starts a program named 記録係.exe,
#     and a dropped file named 報告書.txt becomes an item;
#   - in a folder whose name CP932 cannot hold, the program says so in a box
#     and ends without writing anything.
# It runs once in Japanese and once in English and leaves screenshots of the
# main window, its menus, the editor, the item dialog, the environment
# dialog, the sort dialogs, the file dialog and message boxes in
# BUILD_DIR/artifacts (or $ARTIFACTS).
#
# TARVO_WINE_LC_ALL chooses the locale, and with it Wine's ANSI code page
# (default ja_JP.UTF-8: 932; C.UTF-8: 1252), which must change nothing. As
# scripts/wine-run does, another locale gets a prefix of its own
# (wineprefix-LOCALE), and its screenshots go to artifacts-LOCALE.
#
# TARVO_WINE_LOGPIXELS (default 96) sets the display's scaling: another
# value gets a prefix of its own (wineprefix-dpiN), a screen of 2048x1536
# and screenshots in artifacts-dpiN; every screenshot of a form also checks
# its size and that no caption is cut (fitcheck.c).
#
# Usage: smoke.sh TARVO_EXE XDND_DROP [BUILD_DIR]
#   TARVO_EXE  the cross-built program
#   XDND_DROP  the X11 drop helper of the Linux build (tools/xdnd_drop)
#   BUILD_DIR  holds the Wine prefix (wineprefix/, booted when missing);
#              default: the folder of TARVO_EXE
# Needs xvfb-run (the script starts its own display), wine, wineboot,
# x86_64-w64-mingw32-gcc, xdotool, ImageMagick (import, convert) and iconv.
# Exits non-zero when any check fails, after printing each failure.
set -euo pipefail

if (($# < 2)); then
  sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
tarvo=$(realpath "$1")
xdnd_drop=$(realpath "$2")
build=$(realpath "${3:-$(dirname "$tarvo")}")
artifacts=${ARTIFACTS:-$build/artifacts}
logpixels=${TARVO_WINE_LOGPIXELS:-96}
screen_w=1024 screen_h=768
((logpixels == 96)) || screen_w=2048 screen_h=1536

if [[ -z ${TARVO_WINE_INNER:-} ]]; then
  command -v xvfb-run >/dev/null || { echo "smoke-wine: xvfb-run is missing" >&2; exit 2; }
  # -noreset: Wine's processes come and go, and a server that resets when its
  # last client leaves drops the connections made meanwhile.
  exec env TARVO_WINE_INNER=1 xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24 -noreset" "$0" "$@"
fi

for tool in wine wineboot wineserver x86_64-w64-mingw32-gcc xdotool import convert iconv; do
  command -v "$tool" >/dev/null || { echo "smoke-wine: $tool is missing" >&2; exit 2; }
done
[[ -f $tarvo ]] || { echo "smoke-wine: no program at $tarvo" >&2; exit 2; }
[[ -x $xdnd_drop ]] || { echo "smoke-wine: no drop helper at $xdnd_drop" >&2; exit 2; }

# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
wine_env "$build"
export LC_ALL=${TARVO_WINE_LC_ALL:-ja_JP.UTF-8}
if [[ $LC_ALL != ja_JP.UTF-8 ]]; then
  WINEPREFIX=$WINEPREFIX-$LC_ALL
  artifacts=${ARTIFACTS:-$build/artifacts-$LC_ALL}
fi
if ((logpixels != 96)); then
  WINEPREFIX=$WINEPREFIX-dpi$logpixels
  artifacts=${ARTIFACTS:-$artifacts-dpi$logpixels}
fi
echo "smoke-wine: locale $LC_ALL, $logpixels dpi"
fresh=0
[[ -f $WINEPREFIX/system.reg ]] || fresh=1
echo "smoke-wine: prefix $WINEPREFIX"
wine_boot
if ((fresh)); then
  # Windows, a Western one too, has the Japanese UI font that its menus and
  # message boxes fall back to for Japanese text; this system has IPA P
  # Gothic in its place.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAPGothic /f </dev/null >/dev/null 2>&1
fi
# Wine reads the scaling when its server starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$logpixels" /f </dev/null >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w
mkdir -p "$artifacts"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvo wine.XXXXXX")
stub_pid=
pid=
cleanup() {
  for p in $pid $stub_pid; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for helper in recorder kesti_stub; do
  x86_64-w64-mingw32-gcc -O2 -mwindows -o "$work/$helper.exe" "$here/$helper.c"
done
x86_64-w64-mingw32-gcc -O2 -o "$work/fitcheck.exe" "$here/fitcheck.c" -lgdi32

failures=0
case_name=setup
fail() {
  echo "FAIL [$case_name]: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok   [$case_name]: $*"; }

# Polls (bounded) until the command succeeds; the bound only guards against a hang.
wait_until() {
  local seconds=$1; shift
  local tries=$((seconds * 10))
  while ((tries-- > 0)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
# The visible X window whose title is exactly TITLE (Wine names its windows
# by their captions); empty when none within the seconds.
window_titled() {
  window_matching "^$(printf '%s' "$1" | sed 's/[][().*+?^$|\\]/\\&/g')\$" "${2:-20}"
}
# The same for a title that matches the extended regular expression.
window_matching() {
  local pattern=$1 seconds=${2:-20}
  local tries=$((seconds * 10)) found
  while ((tries-- > 0)); do
    found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1) || true
    [[ -n $found ]] && { echo "$found"; return 0; }
    sleep 0.1
  done
  return 1
}
window_gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
focused_title() { xdotool getwindowfocus getwindowname 2>/dev/null || true; }
# Looked at anew on every try of wait_until.
focus_is_on() { [[ $(focused_title) == "$1" ]]; }
# Gives a window the X focus as a click would; Wine takes it up shortly after.
focus_window() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.5
}
# Keys go to the focused window, as typed; Wine focuses its own new windows.
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
# A window, or "root" for the whole screen (menus are windows of their own).
shot() {
  local wid=$1 name=$2
  sleep 0.4  # painted by now
  if import -window "$wid" "$artifacts/$name.png" 2>/dev/null; then
    echo "     screenshot $artifacts/$name.png"
  else
    fail "could not take the screenshot $name"
  fi
  local report
  if report=$(wine "$work/fitcheck.exe" </dev/null 2>/dev/null | tr -d '\r'); then
    [[ -z $report ]] || echo "$report" | sed 's/^/     /'
  else
    fail "forms shown with $name are not as scaled:"; echo "$report" >&2
  fi
}
# Pixels of this display to 96-dpi units, rounded as the program rounds.
defined_units() { echo $((($1 * 96 + logpixels / 2) / logpixels)); }
# Unix path to the path Wine shows for it (drive Z: is the root).
dos() { printf 'Z:%s' "${1//\//\\}"; }
cp932() { iconv -f UTF-8 -t CP932; }

# A 16-item set: keys a to p, one Japanese title, every item starting the
# recorder with its own options; the one on "p" starts in a folder with a
# blank and has quotes and doubled blanks in its options.
options_p='"quoted arg" plain  two-spaces "x""y"'
set_line() {  # title key directory options
  printf '%s=%s\r\n%s|%s|%s\r\n' "$1" "$2" "$3" "$(dos "$dir/recorder.exe")" "$4"
}
# The companion's set file that Sort Kesti offers: titles on even lines.
write_kesti() {
  printf 'Kesti\r\n電卓=d\r\n-\r\nNotes=n\r\n-\r\nﾒﾓ帳=*\r\n' | cp932 >"$dir/KESTI.PRG"
}
# Sort Tarvo, and Sort Kesti through the file dialog, which offers
# KESTI.PRG in the program's folder; each closed with Esc.
sort_dialogs() {  # ja|en
  local found
  keys alt+o s
  if found=$(window_titled "Tarvo (Sort Tarvo)" 10); then
    shot "$found" "sort-tarvo-$1"
    keys Escape
    wait_until 10 window_gone '^Tarvo \(Sort Tarvo\)$' || fail "Esc did not close Sort Tarvo"
  else
    fail "Options > Sort Tarvo opened no dialog"
  fi
  keys alt+o f
  # The file dialog speaks Wine's language, which follows the locale.
  if window_matching '^(Open|開く)$' 10 >/dev/null; then
    shot root "open-dialog-$1"
    keys Return
    if found=$(window_titled "Tarvo (Sort Kesti)" 10); then
      shot "$found" "sort-kesti-$1"
      keys Escape
      wait_until 10 window_gone '^Tarvo \(Sort Kesti\)$' || fail "Esc did not close Sort Kesti"
    else
      fail "KESTI.PRG chosen in the file dialog opened no Sort Kesti"
    fi
  else
    fail "Options > Sort Kesti opened no file dialog"
  fi
}
# Help > Help Topics without a help file beside the program: its box.
help_box() {  # ja|en
  local box
  keys alt+h
  shot root "menu-help-$1"
  keys c
  if box=$(window_titled "TARVO" 10); then
    shot "$box" "message-help-$1"
    keys Return
    wait_until 10 window_gone '^TARVO$' || fail "Enter did not close the help box"
  else
    fail "Help Topics without a help file showed no box"
  fi
}
# File > Exit, the menu shown first.
exit_by_menu() {  # ja|en
  focus_window "$main"
  keys alt+f
  shot root "menu-file-$1"
  keys x
  wait_ended
}

write_set() {
  local keys=abcdefghijklmnop i title
  for ((i = 1; i <= 16; i++)); do
    title=$(printf 'Item %02d' "$i")
    ((i == 3)) && title="メモ帳"
    if ((i == 16)); then
      set_line "$title" p "$(dos "$dir/start in")" "$options_p"
    else
      set_line "$title" "${keys:i-1:1}" "$(dos "$dir")" "--item $i"
    fi
  done | cp932 >"$dir/TARVO90.PRG"
}

start_tarvo() {
  (cd "$dir" && exec wine TARVO.EXE) </dev/null >"$dir/wine.log" 2>&1 &
  pid=$!
  main=$(window_titled "Tarvo (Main)" 60) || {
    fail "no main window within 60 s"
    cat "$dir/wine.log" >&2
    return 1
  }
  focus_window "$main"
}
# Centre of a window in root coordinates, for the drop.
centre_of() {
  # shellcheck disable=SC2034  # SCREEN and WINDOW: set by the eval, unused
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}
drop_on_main() {  # unix path
  local uri xy
  uri="file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$1")"
  read -r -a xy <<<"$(centre_of "$main")"
  "$xdnd_drop" "$main" "${xy[0]}" "${xy[1]}" "$uri"$'\r\n'
}
end_tarvo() {
  focus_window "$main"
  keys Escape
  wait_ended
}
wait_ended() {
  if wait_until 20 bash -c "! kill -0 $pid 2>/dev/null"; then
    local rc=0
    wait "$pid" || rc=$?
    if ((rc == 0)); then pass "the program ended"; else fail "the program ended with status $rc"; fi
  else
    fail "the program did not end within 20 s (focus: '$(focused_title)')"
    import -window root "$artifacts/failed-exit-$case_name.png" 2>/dev/null || true
    xdotool search --onlyvisible --name . getwindowname %@ >&2 2>/dev/null || true
    echo "state: $(awk "{print \$3}" /proc/$pid/stat 2>&1) ps: $(ps -o pid,stat,cmd --ppid $pid 2>&1 | tail -n +2)" >&2
    cp "$dir/wine.log" "$artifacts/wine-$case_name.log" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  fi
  pid=
}

# ------------------------------------------------------------------ Japanese
case_name=japanese
dir="$work/$case_name"
mkdir -p "$dir/start in" "$dir/drop folder"
cp "$tarvo" "$dir/TARVO.EXE"
cp "$work/recorder.exe" "$dir/"
touch "$dir/drop folder/new tool.txt"
write_set
write_kesti
cp "$dir/TARVO90.PRG" "$dir/original.PRG"
printf '[FormMain]\r\nStateSet=/C\r\n[Language]\r\nJapanese=1\r\nEnglish=0\r\n' >"$dir/TARVO.INI"

(cd "$work" && exec wine kesti_stub.exe) </dev/null >/dev/null 2>&1 &
stub_pid=$!
window_titled "Kesti stub" 60 >/dev/null || fail "the companion stub showed no window"

if start_tarvo; then
  shot "$main" main-ja

  # The first line is selected at start: only the shortcut key leads to "p".
  keys p Return
  if wait_until 20 test -f "$dir/recorder.log"; then
    expected=$(printf '%s\n' "arg1=quoted arg" "arg2=plain" "cwd=$(dos "$dir/start in")")
    cmdline=$(sed -n 's/^cmdline=//p' "$dir/recorder.log")
    if [[ $cmdline == *" $options_p" ]] &&
       [[ $(grep -E '^(arg[12]|cwd)=' "$dir/recorder.log") == "$expected" ]]; then
      pass "p + Enter started item 16 with its options and folder"
    else
      fail "the recorder got another command line or folder:"; cat "$dir/recorder.log" >&2
    fi
  else
    fail "Enter after p started nothing within 20 s"
  fi

  # A full set refuses a drop with the program's own box.
  drop_on_main "$dir/drop folder/new tool.txt" || fail "the main window did not take the drop"
  if box=$(window_titled "Information" 10); then
    shot "$box" message-ja
    keys Return
    wait_until 10 window_gone '^Information$' || fail "Enter did not close the box"
    if cmp -s "$dir/TARVO90.PRG" "$dir/original.PRG"; then pass "a drop on 16 items was refused"
    else fail "a refused drop changed the set file"; fi
  else
    fail "no box for a drop on a full set"
  fi

  # The editor: delete item 2, edit the item that takes its line (item 3)
  # in the item dialog, write the set with OK.
  keys alt+o
  shot root menu-options-ja
  keys l
  if editor=$(window_titled "Tarvo (Set Launcher)" 10); then
    shot "$editor" editor-ja
    keys Down alt+d alt+e
    if item=$(window_titled "Tarvo (Edit)" 10); then
      shot "$item" item-ja
      # The title box has the focus; Enter in a box acts as OK.
      keys End space X Return
      wait_until 10 window_gone '^Tarvo \(Edit\)$' || fail "Enter did not close the item dialog"
    else
      fail "Edit opened no item dialog"
    fi
    keys alt+o
    wait_until 10 window_gone '^Tarvo \(Set Launcher\)$' || fail "OK did not close the editor"
    {
      head -n 2 "$dir/original.PRG" | iconv -f CP932 -t UTF-8
      set_line "メモ帳 X" c "$(dos "$dir")" "--item 3"
      tail -n +7 "$dir/original.PRG" | iconv -f CP932 -t UTF-8
    } | cp932 >"$dir/edited.PRG"
    if wait_until 10 cmp -s "$dir/TARVO90.PRG" "$dir/edited.PRG"; then
      pass "the editor wrote the edited set"
    else
      fail "the set file after the editor differs:"; diff <(iconv -f CP932 -t UTF-8 "$dir/edited.PRG") \
        <(iconv -f CP932 -t UTF-8 "$dir/TARVO90.PRG") >&2 || true
    fi
  else
    fail "Options > Launcher Set opened no editor"
  fi

  # Now there is room: the dropped file becomes item 16.
  drop_on_main "$dir/drop folder/new tool.txt" || fail "the main window did not take the second drop"
  {
    cat "$dir/edited.PRG"
    printf 'new tool.txt=*\r\n%s|%s|\r\n' "$(dos "$dir/drop folder")" "$(dos "$dir/drop folder/new tool.txt")"
  } >"$dir/dropped.PRG"
  if wait_until 10 cmp -s "$dir/TARVO90.PRG" "$dir/dropped.PRG"; then
    pass "a dropped file became the last item"
  else
    fail "the set file after the drop differs:"; diff <(iconv -f CP932 -t UTF-8 "$dir/dropped.PRG") \
      <(iconv -f CP932 -t UTF-8 "$dir/TARVO90.PRG") >&2 || true
  fi
  window_gone '^Information$' || { fail "the drop showed a box"; keys Return; }

  # The environment dialog, left with Save: the settings are written at exit.
  keys alt+o i
  if envdlg=$(window_titled "Tarvo (Set Environment)" 10); then
    shot "$envdlg" environment-ja
    keys alt+s
    wait_until 10 window_gone '^Tarvo \(Set Environment\)$' || fail "Save did not close the dialog"
  else
    fail "Options > Set INI file opened no dialog"
  fi
  sort_dialogs ja
  help_box ja

  # F4: the companion's window comes to the front.
  focus_window "$main"
  keys F4
  if wait_until 10 focus_is_on "Kesti stub"; then
    pass "F4 brought the KestiMainWin window to the front"
  else
    fail "after F4 the focus is on '$(focused_title)', not the companion's window"
  fi

  eval "$(xdotool getwindowgeometry --shell "$main")"
  outer_w=$(defined_units "$WIDTH") outer_h=$(defined_units "$HEIGHT")
  screen_dw=$(defined_units "$screen_w") screen_dh=$(defined_units "$screen_h")
  # Back to the launcher as a user goes back: a click on its title bar.
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 8)) click 1
  sleep 0.5
  exit_by_menu ja
  # The window was never moved: the bounds are the centred outer ones.
  expected_ini=$(printf '%s\n' "[FormMain]" "StateSet=/C" \
    "Left=$(((screen_dw - outer_w) / 2))" "Top=$(((screen_dh - outer_h) / 2))" "Width=$outer_w" "Height=$outer_h" \
    "PosSet=0" "WindowsDir=C:\\WINDOWS\\" "TarvoDir=$(dos "$dir")\\" "[Language]" "Japanese=1" "English=0")
  if [[ $(tr -d '\r' <"$dir/TARVO.INI") == "$expected_ini" ]]; then
    pass "TARVO.INI was written at exit after Save"
  else
    fail "TARVO.INI after a saved run differs:"; diff <(echo "$expected_ini") <(tr -d '\r' <"$dir/TARVO.INI") >&2 || true
  fi
fi
kill "$stub_pid" 2>/dev/null || true
stub_pid=

# ------------------------------------------------------------------ English
case_name=english
dir="$work/$case_name"
mkdir -p "$dir/start in" "$dir/drop folder"
cp "$tarvo" "$dir/TARVO.EXE"
cp "$work/recorder.exe" "$dir/"
touch "$dir/drop folder/new tool.txt"
write_set
write_kesti
printf '[FormMain]\r\nStateSet=/C\r\n[Language]\r\nJapanese=0\r\nEnglish=1\r\n' >"$dir/TARVO.INI"
cp "$dir/TARVO90.PRG" "$dir/original.PRG"
cp "$dir/TARVO.INI" "$dir/original.INI"

if start_tarvo; then
  shot "$main" main-en
  drop_on_main "$dir/drop folder/new tool.txt" || fail "the main window did not take the drop"
  if box=$(window_titled "Information" 10); then
    shot "$box" message-en
    keys Return
    wait_until 10 window_gone '^Information$' || fail "Enter did not close the box"
  else
    fail "no box for a drop on a full set"
  fi
  keys alt+o
  shot root menu-options-en
  keys l
  if editor=$(window_titled "Tarvo (Set Launcher)" 10); then
    shot "$editor" editor-en
    keys alt+e
    if item=$(window_titled "Tarvo (Edit)" 10); then
      shot "$item" item-en
      keys End space X Escape  # Esc in a box cancels
      wait_until 10 window_gone '^Tarvo \(Edit\)$' || fail "Esc did not close the item dialog"
    else
      fail "Edit opened no item dialog"
    fi
    keys Escape
    wait_until 10 window_gone '^Tarvo \(Set Launcher\)$' || fail "Esc did not close the editor"
  else
    fail "Options > Launcher Set opened no editor"
  fi
  keys alt+o i
  if envdlg=$(window_titled "Tarvo (Set Environment)" 10); then
    shot "$envdlg" environment-en
    keys Escape  # closes without Save
    wait_until 10 window_gone '^Tarvo \(Set Environment\)$' || fail "Esc did not close the dialog"
  else
    fail "Options > Set INI file opened no dialog"
  fi
  sort_dialogs en
  help_box en
  exit_by_menu en
  if cmp -s "$dir/TARVO90.PRG" "$dir/original.PRG"; then pass "a cancelled item dialog changed no file"
  else fail "the set file changed although the item dialog was cancelled"; fi
  if cmp -s "$dir/TARVO.INI" "$dir/original.INI"; then
    pass "TARVO.INI was left alone without Save"
  else
    fail "TARVO.INI changed although the environment dialog was not saved"
  fi
fi

# ------------------------------------------------------------------ first start
# No TARVO.INI: the language question, then a two-line box (its lines are
# split at LF CR and centred), the environment dialog left with Esc, the
# request to restart; nothing is written at exit.
case_name=first-start
dir="$work/$case_name"
mkdir -p "$dir"
cp "$tarvo" "$dir/TARVO.EXE"
(cd "$dir" && exec wine TARVO.EXE) </dev/null >"$dir/wine.log" 2>&1 &
pid=$!
if box=$(window_titled "Information" 60); then
  focus_window "$box"
  keys Return  # Yes: Japanese
  if box=$(window_titled "Information" 10); then
    shot "$box" message-two-lines-ja
    keys Return
  else
    fail "no box after the language question"
  fi
  if envdlg=$(window_titled "Tarvo (Set Environment)" 10); then
    keys Escape
    wait_until 10 window_gone '^Tarvo \(Set Environment\)$' || fail "Esc did not close the dialog"
  else
    fail "the first start opened no environment dialog"
  fi
  if box=$(window_titled "Information" 10); then keys Return; else fail "no request to restart"; fi
  main=$(window_titled "Tarvo (Main)" 10) || fail "no main window after the first start"
  [[ -n ${main:-} ]] && end_tarvo
  if [[ -e $dir/TARVO.INI || -e $dir/TARVO90.PRG ]]; then
    fail "a first start left with Esc wrote files: $(ls "$dir")"
  else
    pass "a cancelled first start wrote no settings and no set files"
  fi
else
  fail "the first start asked nothing within 60 s"
fi

# ------------------------------------------------------------------ Japanese names
# The program in a folder named 表ソ十 (each character ends in 0x5C), given
# a set file named 日本語メニュー.PRG: its item starts a program named
# 記録係.exe in a folder named 資料, and a dropped 報告書.txt becomes item 2,
# written in CP932 byte for byte, whatever the code page.
case_name=japanese-names
dir="$work/表ソ十"
mkdir -p "$dir" "$work/tools" "$work/資料"
cp "$tarvo" "$dir/TARVO.EXE"
# The recorder writes its log beside itself: a folder with a plain name.
cp "$work/recorder.exe" "$work/tools/記録係.exe"
touch "$work/資料/報告書.txt"
printf '[FormMain]\r\nStateSet=/C\r\n[Language]\r\nJapanese=1\r\nEnglish=0\r\n' >"$dir/TARVO.INI"
printf '記録係=k\r\n%s|%s|%s\r\n' "$(dos "$work/資料")" "$(dos "$work/tools/記録係.exe")" '"予定 表.txt"' |
  cp932 >"$dir/日本語メニュー.PRG"
{
  cat "$dir/日本語メニュー.PRG"
  printf '報告書.txt=*\r\n%s|%s|\r\n' "$(dos "$work/資料")" "$(dos "$work/資料/報告書.txt")" | cp932
} >"$work/dropped.PRG"
(cd "$dir" && exec wine TARVO.EXE 日本語メニュー.PRG /C) </dev/null >"$work/wine-names.log" 2>&1 &
pid=$!
if main=$(window_titled "Tarvo (Main)" 60); then
  focus_window "$main"
  shot "$main" main-names-ja
  keys k Return
  if wait_until 20 test -f "$work/tools/recorder.log"; then
    pass "an item of 日本語メニュー.PRG started 記録係.exe"
  else
    fail "Enter on the item started nothing within 20 s"
  fi
  drop_on_main "$work/資料/報告書.txt" || fail "the main window did not take the drop"
  if wait_until 10 cmp -s "$dir/日本語メニュー.PRG" "$work/dropped.PRG"; then
    pass "a dropped 報告書.txt became item 2 of 日本語メニュー.PRG"
  else
    fail "日本語メニュー.PRG after the drop differs:"; diff <(iconv -f CP932 -t UTF-8 "$work/dropped.PRG") \
      <(iconv -f CP932 -t UTF-8 "$dir/日本語メニュー.PRG") >&2 || true
  fi
  shot "$main" main-names-dropped-ja
  end_tarvo
else
  fail "no main window within 60 s"; cat "$work/wine-names.log" >&2
fi

# ------------------------------------------------------------------ a folder CP932 cannot hold
# Its settings and set files could not be named: the program says so and
# ends at once, with nothing written.
case_name=not-cp932-folder
dir="$work/한국"
mkdir -p "$dir"
cp "$tarvo" "$dir/TARVO.EXE"
(cd "$dir" && exec wine TARVO.EXE) </dev/null >"$work/wine-korean.log" 2>&1 &
pid=$!
if box=$(window_titled "TARVO" 60); then
  shot "$box" message-not-cp932
  focus_window "$box"
  keys Return
  if wait_until 20 bash -c "! kill -0 $pid 2>/dev/null"; then
    rc=0
    wait "$pid" || rc=$?
    if ((rc == 1)); then pass "the program ended with status 1"; else fail "the program ended with status $rc"; fi
  else
    fail "the program did not end within 20 s of Enter"
    kill "$pid" 2>/dev/null || true
  fi
  if [[ $(ls "$dir") == TARVO.EXE ]]; then pass "nothing was written"; else fail "files were written: $(ls "$dir")"; fi
else
  fail "no box within 60 s"; cat "$work/wine-korean.log" >&2
fi
pid=

if ((failures > 0)); then
  echo "smoke-wine: $failures failure(s)" >&2
  exit 1
fi
echo "smoke-wine: all checks passed"
