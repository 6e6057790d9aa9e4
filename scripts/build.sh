#!/usr/bin/env bash
# Builds Farhour: build/win holds farhour.exe and the Windows tests, build/native the portable core
# and its tests, build/win64 a 64-bit build of the same for machines that cannot start 32-bit
# programs. Usage: scripts/build.sh [native|win|win64|all|bench]; all builds win64 only where it is
# needed; bench builds the benchmarks of the trees already configured, without running them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=$(nproc 2>/dev/null || echo 2)

if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/win" -j "$jobs"
fi
source "$root/cmake/wine-loader.sh"
if [ "$what" = win64 ] || { [ "$what" = all ] && ! can_run_32bit; }; then
  cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/win64" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = native ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
if [ "$what" = bench ]; then
  for tree in native win win64; do
    if [ -f "$root/build/$tree/CMakeCache.txt" ]; then
      cmake --build "$root/build/$tree" -j "$jobs" --target bench-programs
    fi
  done
fi
