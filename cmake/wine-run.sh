#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build tree's private Wine prefix: 32-bit
# Wine for a 32-bit program, 64-bit Wine for a 64-bit one. The prefix is made on first use; a
# private Xvfb display is used when there is no display.
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
exec "$WINE" "$@"
