#!/usr/bin/env bash
# Runs a Windows program through scripts/wine-run on a display scaled to DPI
# (Wine's LogPixels, which its server reads when it starts), in the prefix
# WINEPREFIX, and ends that prefix's Wine afterwards.
#   scaled-run.sh DPI PROGRAM.EXE [ARG...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dpi=$1
shift
wine_run=$root/scripts/wine-run
# The prefix wine-run takes for the locale.
prefix=$WINEPREFIX
[[ ${TARVO_WINE_LC_ALL:-ja_JP.UTF-8} == ja_JP.UTF-8 ]] || prefix=$prefix-$TARVO_WINE_LC_ALL
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
"$wine_run" --kill
WINEPREFIX=$prefix wineserver -w
status=0
"$wine_run" "$@" || status=$?
"$wine_run" --kill
exit "$status"
