#!/usr/bin/env bash
# Builds the launcher and starts it in a folder of its own (build/demo), on a
# sample set file. Until the desktop window exists, this runs the scripted
# driver: type actions such as "dump", "select ListBox1 1", "click btnStart",
# "menu MenuEnglish" and end with Ctrl-D.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target tarvo-headless
demo=build/demo
mkdir -p "$demo"
# The program reads its set files and settings beside itself.
[ -f "$demo/TARVO90.PRG" ] || cp samples/TARVO90.PRG "$demo/TARVO90.PRG"
[ -f "$demo/TARVO.INI" ] || cp samples/TARVO.INI "$demo/TARVO.INI"
echo "tarvo: the desktop window is not built yet; running the scripted driver on $demo/TARVO90.PRG."
echo "tarvo: type actions (dump, select ListBox1 0, click btnStart, menu MenuEnglish, key ListBox1 Esc ...), Ctrl-D ends."
exec build/tarvo-headless -- "$demo/TARVO.EXE" "$@"
