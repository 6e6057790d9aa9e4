#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the portable core natively, the Windows
# glue and the whole program under Wine (on a private virtual display when there is none).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" all
# The benchmarks are built, not run: a change that breaks one fails here.
"$root/scripts/build.sh" bench

status=0
log="$root/build/test-summary.log"
: > "$log"
echo "== native tests"
(cd "$root/build/native" && ctest --output-on-failure | tee -a "$log") || status=1

source "$root/cmake/wine-loader.sh"
win_tree=$(windows_tree "$root")
if [ "$win_tree" = "$root/build/win" ]; then
  echo "== Windows tests under Wine"
else
  echo "== Windows tests under 64-bit Wine: this machine cannot start 32-bit programs, so they run on"
  echo "   the 64-bit build of the same sources (build/win64); build/win still holds the 32-bit product"
fi
export FARHOUR_WINEPREFIX="$win_tree/wineprefix"
run_wine_tests() {
  set -o pipefail
  cd "$win_tree"
  local rc=0
  ctest --output-on-failure | tee -a "$log" || rc=1
  WINEPREFIX="$FARHOUR_WINEPREFIX" wineserver -k 2>/dev/null || true
  return $rc
}
export -f run_wine_tests
export root log win_tree
if [ -n "${DISPLAY:-}" ]; then
  run_wine_tests || status=1
else
  "$root/cmake/with-display.sh" bash -c run_wine_tests || status=1
fi

# One closing line for both runs of ctest, counted from their own summaries.
read -r total failed < <(awk '/tests passed, .* tests failed out of/ {f += $4; t += $NF} END {print t+0, f+0}' "$log")
if [ $status -eq 0 ] && [ "$total" -gt 0 ]; then echo "ALL TESTS PASSED"; else echo "SOME TESTS FAILED"; status=1; fi
echo "Tests: $((total - failed)) passed, $failed failed"
exit $status
