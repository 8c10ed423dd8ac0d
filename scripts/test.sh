#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# native tests (ASan, UBSan), then the Windows tests under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
source "$root/scripts/steps.sh"
"$root/scripts/install-deps.sh" test

step "configuring the native build in $build/native" "read CMake's message; deleting $build/native starts afresh" \
  cmake -S "$root" -B "$build/native" -G Ninja
ninja -C "$build/native"
ctest --test-dir "$build/native" --output-on-failure
"$root/scripts/fuzz.sh"

step "configuring the Windows build in $build/win32" "read CMake's message; deleting $build/win32 starts afresh" \
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
ninja -C "$build/win32"
display_prefixes=("$build/win32/wineprefix")
source "$root/scripts/xvfb.sh"
ctest --test-dir "$build/win32" --output-on-failure
