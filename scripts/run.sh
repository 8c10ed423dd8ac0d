#!/usr/bin/env bash
# Installs what is missing, builds Trellan.exe and runs it under Wine in a
# prefix of its own inside the build folder (never ~/.wine).
#  - With an X display, the dialog opens there; the command returns when
#    the user closes it.
#  - Without one, it runs under a private Xvfb: the test driver opens the
#    dialog, takes a picture of it, presses OK, closes the closing notice
#    and presses "&Ende". (A site from an earlier run starts the dialog in
#    CSS-only mode, so then only the stylesheet, scripts and server files
#    are written again.)
# Either way it prints where the site is.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TRELLAN_BUILD_DIR:-$root/build}"
source "$root/scripts/steps.sh"
"$root/scripts/install-deps.sh" run

step "configuring the Windows build in $build/win32" "read CMake's message; deleting $build/win32 starts afresh" \
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake"
step "building Trellan.exe" "read the compiler's message" \
  ninja -C "$build/win32" Trellan trellan_drive trellan_probe

export TRELLAN_WINEPREFIX="$build/run-prefix"
source "$root/scripts/wine-env.sh"
exe="$build/win32/app/Trellan.exe"
# Where the program writes the site, once the prefix exists.
site_folder() {
  local desktop
  desktop="$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -name Desktop ! -path '*/Public/*' | head -n 1)"
  echo "$desktop/CSS-Musterseite"
}

# The prefix's Wine server outlives a run for a minute: it and Wine's own
# processes start on the display the program is to use.
if [ -n "${DISPLAY:-}" ]; then
  "$root/scripts/wine-prefix.sh"
  site="$(site_folder)"
  status=0
  wine "$exe" || status=$?
  if [ -f "$site/index.html" ]; then
    echo "Trellan ended (exit code $status); the site is in $site"
  else
    echo "Trellan ended (exit code $status) without generating a site (it would be in $site)"
  fi
  exit "$status"
fi

display_prefixes=("$WINEPREFIX")
source "$root/scripts/xvfb.sh"
"$root/scripts/wine-prefix.sh"
site="$(site_folder)"
echo "No X display: running Trellan.exe under Xvfb ($DISPLAY) and working its dialog."
export TRELLAN_PROBE_DLL="$build/win32/tests/driver/trellan_probe.dll"
drive="$build/win32/tests/driver/trellan_drive.exe"
reply="$(mktemp)"
# Wine's own processes of the run prefix go before the display does.
trap 'rm -f "$reply"; stop_private_display' EXIT
# Through a file: the program inherits the driver's output and keeps it open.
timeout 60 wine "$drive" show "$exe" >"$reply"
# (Windows programs end their lines with CR LF.) The dialog is painted by
# the time the driver answers.
read -r _ x y width height < <(tr -d '\r' <"$reply")
mkdir -p "$build/artifacts"
picture="$build/artifacts/run-dialog.png"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$picture"
timeout 120 wine "$drive" generate >"$reply"
if tr -d '\r' <"$reply" | grep -qx 'mode full'; then
  echo "It generated the default site into $site"
else
  echo "A site was there already, so the dialog started in CSS-only mode: it rewrote"
  echo "style.css, zoom.js, the scripts and the server files in $site"
fi
echo "Picture of the dialog: $picture"
