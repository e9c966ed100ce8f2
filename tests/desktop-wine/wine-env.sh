# shellcheck shell=bash
# Sourced by the Wine tests and benchmarks: the environment they run Wine in,
# and a prefix booted once inside the given build folder.
#
# wine_env BUILD_DIR   exports WINEPREFIX=BUILD_DIR/wineprefix and the rest
# wine_boot            creates and boots the prefix when it is missing

wine_env() {
  export WINEPREFIX=$1/wineprefix
  export WINEDEBUG=${TARVO_WINEDEBUG:--all}  # e.g. +key,+focus to see where keys go
  # No .NET or Gecko installers, no menu entries written into the host.
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  # Wine takes the ANSI code page from the locale: 932, as the program expects.
  export LC_ALL=ja_JP.UTF-8
}

wine_boot() {
  [[ -f $WINEPREFIX/system.reg ]] && return 0
  # With a terminal or pipe on stdio, wineboot waits for it and a runner hangs.
  wineboot -i </dev/null >/dev/null 2>&1
  # A virtual X server has no window manager: Wine draws the frames itself
  # (screenshots then show caption and menu bar) and places and focuses its
  # windows itself, as a window manager would at its request.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # Debian keeps Wine's own fonts (caption buttons, Tahoma) where this Wine
  # does not look; the prefix's font folder is always searched.
  if compgen -G '/usr/share/wine/fonts/*.ttf' >/dev/null; then
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wineserver -w
}
