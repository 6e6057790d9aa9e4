#!/usr/bin/env bash
# Runs the Windows benchmarks one after the other under Wine, in the build folder's own Wine prefix
# (FARHOUR_WINEPREFIX, by default ./wineprefix), then ends that prefix's Wine server.
# Usage: run_win_benches.sh WINE-RUN FARHOUR-EXE MINIMAL-EXE REFRESH-BENCH ICON-BENCH TRAY-BENCH SIZE-BENCH
#        ZONE-BENCH SEARCH-BENCH SETTINGS-BENCH ADD-PLACE-BENCH PLANNER-BENCH
set -eu
wine_run=$1 farhour=$2 minimal=$3 refresh=$4 icons=$5 tray=$6 size=$7 zone=$8 search=$9 settings=${10} add=${11}
planner=${12}
: "${FARHOUR_WINEPREFIX:=$(pwd)/wineprefix}"
export FARHOUR_WINEPREFIX FARHOUR_EXE="$farhour" FARHOUR_MINIMAL_EXE="$minimal"
# Wine takes the user locale from these; en_US gives the time picture with seconds, "h:mm:ss tt".
# (LC_ALL is left unset: the shells would warn that the unix locale is not generated.)
unset LC_ALL LC_CTYPE LC_TIME LC_MESSAGES LANGUAGE
export LANG=en_US.UTF-8
trap 'WINEPREFIX="$FARHOUR_WINEPREFIX" wineserver -k 2>/dev/null || true' EXIT

echo "== Refresh path, under Wine"
"$wine_run" "$refresh" ${FARHOUR_BENCH_ROUNDS:-21}
echo
echo "== Refresh path of a place with a zone, under Wine"
"$wine_run" "$zone" ${FARHOUR_BENCH_ROUNDS:-21}
echo
echo "== Icon-file reader, under Wine"
"$wine_run" "$icons"
echo
echo "== Zone search, under Wine"
"$wine_run" "$search"
echo
echo "== A place's load and save in the registry, under Wine"
"$wine_run" "$settings"
echo
echo "== Call planner, under Wine"
"$wine_run" "$planner"
echo
echo "== farhour.exe against a stand-in tray, under Wine"
"$wine_run" "$tray" all ${FARHOUR_BENCH_STARTS:-21}
echo
echo "== Add a place: the asking copy's window thread, under Wine"
"$wine_run" "$add" ${FARHOUR_BENCH_ADDS:-5}
echo
echo "== Size of farhour.exe"
"$wine_run" "$size" "$farhour"
