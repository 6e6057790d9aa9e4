#!/usr/bin/env bash
# Installs what is missing, builds, and runs Farhour under Wine: scripts/run.sh [instance number]
# On your display when there is one. Otherwise on a private virtual display, where it saves a
# screenshot of the notification area with the icon, prints where it is, and closes the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
number=${1:-}
"$root/scripts/install-deps.sh"
source "$root/cmake/wine-loader.sh"
# Where this machine cannot start 32-bit programs, the 64-bit build of the same sources runs instead.
win_tree=$(windows_tree "$root")
"$root/scripts/build.sh" "$(basename "$win_tree")" >/dev/null
export FARHOUR_WINEPREFIX="${FARHOUR_WINEPREFIX:-$win_tree/wineprefix}"
export WINEPREFIX="$FARHOUR_WINEPREFIX"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe="$win_tree/farhour.exe"
ctl="$win_tree/tests/farhour_ctl.exe"
wine_for "$exe"
# Wine copies the Linux TZ into the Windows environment, where the C runtime would read a name like
# "America/Chicago" as UTC; Wine itself takes this computer's zone from it. The program starts
# without it, through cmd.
farhour_command="set TZ=&& $(printf 'Z:%s' "$exe" | tr / '\\') $number"

if [ -n "${DISPLAY:-}" ]; then
  echo "Farhour runs in the notification area; close it from its properties window's system menu."
  "$root/cmake/wine-run.sh" cmd /c "$farhour_command"
  exit 0
fi

shots="$root/build/screenshots"
mkdir -p "$shots"
run_on_virtual_display() {
  [ -f "$WINEPREFIX/system.reg" ] || { "$WINE" wineboot -i >/dev/null 2>&1; wineserver -w; }
  # A virtual desktop of Wine has a taskbar with the notification area at its bottom right.
  local desktop="explorer /desktop=Farhour,800x600"
  "$WINE" $desktop cmd /c "$farhour_command" >/dev/null 2>&1 &
  sleep 6
  # Rest the pointer on the icon, so that its tip shows as it would for a person.
  xdotool mousemove 785 585 && sleep 0.5 && xdotool mousemove 790 590 && sleep 2
  import -window root -crop 800x600+0+0 +repage "$shots/desktop.png"
  convert "$shots/desktop.png" -crop 400x90+400+510 +repage -scale 200% "$shots/notification-area.png"
  echo "Screenshot of the notification area: $shots/notification-area.png"
  echo "Screenshot of the whole virtual desktop: $shots/desktop.png"
  "$WINE" $desktop "$ctl" close $number >/dev/null 2>&1 || true
  # Wine shows the program under its Windows path; look for this copy only.
  local pattern
  pattern=$(printf 'Z:%s' "$exe" | tr / '\\' | sed 's/[][\\.^$*]/\\&/g')
  for _ in $(seq 50); do pgrep -f -- "$pattern" >/dev/null || break; sleep 0.2; done
  if pgrep -f -- "$pattern" >/dev/null; then
    echo "Farhour did not close; stopping Wine." >&2
  else
    echo "Farhour closed cleanly; its settings are saved."
  fi
  wineserver -k 2>/dev/null || true
}
export -f run_on_virtual_display
export exe ctl number shots WINE WINEARCH farhour_command
"$root/cmake/with-display.sh" bash -c run_on_virtual_display
