#!/usr/bin/env bash
# Installs what is missing, builds Trellan.exe and runs it under Wine in a
# prefix of its own inside the build folder. Without an X display it runs
# the program under Xvfb and closes its notice itself.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh" run

cmake -S "$root" -B "$build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
ninja -C "$build/win32" Trellan >/dev/null

export TRELLAN_WINEPREFIX="$build/run-prefix"
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"
exe="$build/win32/app/Trellan.exe"
desktop="$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Desktop ! -path '*/Public/*' | head -n 1)"

if [ -n "${DISPLAY:-}" ]; then
  wine "$exe"
  echo "Trellan ended; the site is in $desktop/CSS-Musterseite"
  exit 0
fi

source "$root/scripts/xvfb.sh"
echo "No X display: running Trellan.exe under Xvfb ($DISPLAY)."
wine "$exe" &
program=$!
window="$(xdotool search --sync --name 'Trellan 4.4.0.3' | head -n 1)"
sleep 1
mkdir -p "$build/artifacts"
import -window root "$build/artifacts/run.png"
xdotool key --window "$window" Return
wait "$program"
echo "It generated the default site into $desktop/CSS-Musterseite"
echo "Screenshot of the screen: $build/artifacts/run.png"
