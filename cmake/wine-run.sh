#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build tree's private Wine prefix: 32-bit
# Wine for a 32-bit program, 64-bit Wine for a 64-bit one. The prefix is made on first use; a
# private Xvfb display is used when there is no display. With FARHOUR_DPI set, the prefix's display
# scale (LogPixels) is set to it first, which the processes started after it take.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
: "${FARHOUR_WINEPREFIX:=$(pwd)/wineprefix}"
export WINEPREFIX="$FARHOUR_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -n "${DISPLAY:-}" ] || exec "$here/with-display.sh" "$0" "$@"
source "$here/wine-loader.sh"
wine_for "$1"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (flock 9; [ -f "$WINEPREFIX/system.reg" ] || { "$WINE" wineboot -i >/dev/null 2>&1; wineserver -w; }) 9>"$WINEPREFIX.lock"
fi
if [ -n "${FARHOUR_DPI:-}" ]; then
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$FARHOUR_DPI" /f >/dev/null 2>&1
fi
exec "$WINE" "$@"
