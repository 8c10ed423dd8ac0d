#!/usr/bin/env bash
# Builds and runs the generation benchmark under Wine and prints the median
# time of a whole run (to the closing notice) next to the time a minimal
# writer needs for the same bytes.   scripts/bench.sh [runs]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
source "$root/scripts/steps.sh"
"$root/scripts/install-deps.sh" run
step "configuring the Windows build in $build/win32" "read CMake's message; deleting $build/win32 starts afresh" \
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
step "building the benchmark" "read the compiler's message" ninja -C "$build/win32" generate_bench
export TRELLAN_WINEPREFIX="$build/win32/wineprefix"
display_prefixes=("$TRELLAN_WINEPREFIX")
source "$root/scripts/xvfb.sh"
"$root/scripts/wine-run.sh" "$build/win32/tests/wine/generate_bench.exe" "${1:-21}"
