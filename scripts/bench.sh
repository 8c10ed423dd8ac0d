#!/usr/bin/env bash
# Builds and runs a benchmark under Wine and prints its medians:
#   scripts/bench.sh [runs]              a whole generation run (to the closing
#                                        notice) next to the time a minimal
#                                        writer needs for the same bytes
#   scripts/bench.sh --sitecheck [runs]  the site check over folders on disk:
#                                        100 pages and 1,000 pictures, a 20 MB
#                                        page, tags nested 100,000 deep
#   scripts/bench.sh --siteupdate [runs] the menu update over 20 pages of
#                                        100 KB: read, planned, backed up and
#                                        written
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
source "$root/scripts/steps.sh"
"$root/scripts/install-deps.sh" run
step "configuring the Windows build in $build/win32" "read CMake's message; deleting $build/win32 starts afresh" \
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
bench=generate_bench
case "${1:-}" in
  --sitecheck) bench=sitecheck_bench; shift ;;
  --siteupdate) bench=siteupdate_bench; shift ;;
esac
step "building the benchmark" "read the compiler's message" ninja -j2 -C "$build/win32" "$bench"
export TRELLAN_WINEPREFIX="$build/win32/wineprefix"
display_prefixes=("$TRELLAN_WINEPREFIX")
source "$root/scripts/xvfb.sh"
"$root/scripts/wine-run.sh" "$build/win32/tests/wine/$bench.exe" "${1:-21}"
