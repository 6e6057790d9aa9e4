#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the portable core natively, the Windows
# glue and the whole program under Wine (on a private virtual display when there is none).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" all

status=0
echo "== native tests"
(cd "$root/build/native" && ctest --output-on-failure) || status=1

echo "== Windows tests under Wine"
export FARHOUR_WINEPREFIX="$root/build/win/wineprefix"
run_wine_tests() {
  cd "$root/build/win"
  local rc=0
  ctest --output-on-failure || rc=1
  WINEPREFIX="$FARHOUR_WINEPREFIX" wineserver -k 2>/dev/null || true
  return $rc
}
export -f run_wine_tests
export root
if [ -n "${DISPLAY:-}" ]; then
  run_wine_tests || status=1
else
  "$root/cmake/with-display.sh" bash -c run_wine_tests || status=1
fi

if [ $status -eq 0 ]; then echo "ALL TESTS PASSED"; else echo "SOME TESTS FAILED"; fi
exit $status
