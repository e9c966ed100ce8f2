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
  # the desktop program links its X, font and image libraries statically
  libxcb1-dev libxau-dev libxdmcp-dev libbsd-dev libmd-dev libfreetype-dev libpng-dev zlib1g-dev
  libbrotli-dev libbz2-dev libexpat1-dev
  xvfb xauth xdotool imagemagick x11-utils
  suckless-tools time
  # tests/fault_trials.py: a real SIGKILL in the middle of a write
  strace
  # documents and folders open with the desktop's opener
  xdg-utils
  # the desktop's file chooser, loaded when first used (tests/desktop/chooser.sh drives it)
  libgtk-3-0
  # tests/desktop/japanese_input.sh: an X input method (XIM) with a Japanese engine
  uim-xim uim-anthy
  # scripts/test.sh checks the format and runs clang-tidy
  clang-format clang-tidy
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 fonts-vlgothic locales
  # Wine draws its caption buttons with its own fonts
  fonts-wine
  # scripts/fuzz.sh: clang with its libFuzzer and sanitizer runtimes, llvm-symbolizer for the stacks
  clang libclang-rt-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Wine takes code page 932 from a Japanese locale.
has_locale() { locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; }
if [ ${#missing[@]} -eq 0 ] && has_locale; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! has_locale; then
  echo "install-deps: generating the ja_JP.UTF-8 locale"
  "${as_root[@]}" sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${as_root[@]}" locale-gen >/dev/null
fi
