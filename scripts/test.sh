#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# native tests (ASan, UBSan), then the Windows tests under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh" test

cmake -S "$root" -B "$build/native" -G Ninja >/dev/null
ninja -C "$build/native"
ctest --test-dir "$build/native" --output-on-failure
"$root/scripts/fuzz.sh"

cmake -S "$root" -B "$build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
ninja -C "$build/win32"
source "$root/scripts/xvfb.sh"
ctest --test-dir "$build/win32" --output-on-failure
