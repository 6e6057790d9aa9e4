#!/usr/bin/env bash
# Takes the screenshots of the properties window, the Time Zone window beside it, the properties
# window with the hour there chosen, and the About box
# as a person sees them on the screen: starts farhour.exe fresh under Wine, opens each window with screenshot_helper, photographs
# the whole screen and crops it to the window.
#   make_screenshots.sh WINE_RUN FARHOUR_EXE HELPER_EXE OUT_DIR
# Needs an X display (run it through cmake/with-display.sh) and ImageMagick's import.
set -eu
run=$1 farhour=$2 helper=$3 out=$4
mkdir -p "$out"
# The program's settings would otherwise be those of the last test run in this prefix.
"$run" "$helper" prepare
trap '"$run" "$helper" finish' EXIT
"$run" "$farhour" &
farhour_pid=$!
trap 'kill $farhour_pid 2>/dev/null || true; "$run" "$helper" finish' EXIT

capture() {  # GEOMETRY FILE
  import -window root -crop "$1" +repage "$2"
  echo "wrote $2 ($1)"
}

geometry=$("$run" "$helper" show | tr -d '\r')
capture "$geometry" "$out/properties.png"
geometry=$("$run" "$helper" zone | tr -d '\r')
capture "$geometry" "$out/time-zone.png"
geometry=$("$run" "$helper" hour | tr -d '\r')
capture "$geometry" "$out/properties-hour.png"
geometry=$("$run" "$helper" about | tr -d '\r')
capture "$geometry" "$out/about.png"
geometry=$("$run" "$helper" planner | tr -d '\r')
capture "$geometry" "$out/planner.png"
"$run" "$helper" close
wait $farhour_pid
trap - EXIT
"$run" "$helper" finish
