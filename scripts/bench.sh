#!/usr/bin/env bash
# Builds and runs the generation benchmark under Wine and prints the median
# time of a whole run (to the closing notice) next to the time a minimal
# writer needs for the same bytes.   scripts/bench.sh [runs]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh" run
cmake -S "$root" -B "$build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
ninja -C "$build/win32" generate_bench >/dev/null
source "$root/scripts/xvfb.sh"
export TRELLAN_WINEPREFIX="$build/win32/wineprefix"
"$root/scripts/wine-run.sh" "$build/win32/tests/wine/generate_bench.exe" "${1:-21}"
