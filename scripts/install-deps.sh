#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Safe to run again: it only calls apt-get for what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev
  python3
  libfltk1.3-dev libx11-dev libxft-dev libfontconfig-dev libxinerama-dev libxfixes-dev libxcursor-dev
  libxrender-dev libxext-dev fonts-ipafont-gothic
  xvfb xauth xdotool imagemagick x11-utils
  suckless-tools time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
