#!/usr/bin/env bash
# Builds the launcher, installs it into a folder of its own under your home
# (it keeps its settings and set files beside itself) and starts it there.
# The first start there asks for the language and the start state and writes
# the default menu tree of set files beside the program; start it again to
# use them.
# Extra arguments go to the launcher (set file, start state, left, top).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${TARVO_PREFIX:-$HOME/.local/opt/tarvo}"
# A build folder of its own, so that it and the tests' debug builds never
# rebuild each other.
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DTARVO_MENU_DIR="${XDG_DATA_HOME:-$HOME/.local/share}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target tarvo
cmake --install "$build" >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  echo "tarvo: no display (DISPLAY is not set). Run it on a desktop, or under a virtual X server:" >&2
  echo "  xvfb-run -a $prefix/tarvo" >&2
  exit 1
fi
cd "$prefix"
exec ./tarvo "$@"
