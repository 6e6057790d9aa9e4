#!/usr/bin/env bash
# Installs what is missing, builds, and runs Farhour under Wine: scripts/run.sh [instance number]
# On your display when there is one. Otherwise on a private virtual display, where it saves a
# screenshot of the notification area with the icon, prints where it is, and closes the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
number=${1:-}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win >/dev/null
export WINEPREFIX="${FARHOUR_WINEPREFIX:-$root/build/win/wineprefix}"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
exe="$root/build/win/farhour.exe"
ctl="$root/build/win/tests/farhour_ctl.exe"

if [ -n "${DISPLAY:-}" ]; then
  echo "Farhour runs in the notification area; close it from its properties window's system menu."
  "$root/cmake/wine-run.sh" "$exe" $number
  exit 0
fi

shots="$root/build/screenshots"
mkdir -p "$shots"
run_on_virtual_display() {
  [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
  # A virtual desktop has a taskbar with a notification area at its foot.
  wine explorer /desktop=Farhour,800x600 >/dev/null 2>&1 &
  sleep 3
  wine explorer /desktop=Farhour,800x600 "$exe" $number >/dev/null 2>&1 &
  sleep 6
  import -window root "$shots/desktop.png"
  convert "$shots/desktop.png" -gravity SouthEast -crop 240x48+0+0 +repage -scale 300% "$shots/notification-area.png"
  echo "Screenshot of the notification area: $shots/notification-area.png"
  echo "Whole screen: $shots/desktop.png"
  wine "$ctl" close $number >/dev/null 2>&1 && echo "Farhour closed cleanly; its settings are saved."
  wineserver -k 2>/dev/null || true
}
export -f run_on_virtual_display
export exe ctl number shots
"$root/cmake/with-display.sh" bash -c run_on_virtual_display
