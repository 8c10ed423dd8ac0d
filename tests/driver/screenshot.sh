#!/usr/bin/env bash
# Takes a picture of Trellan's dialog as it opens, on the current X display:
#   screenshot.sh <trellan_drive.exe> <Trellan.exe> <picture.png>
# Needs TRELLAN_WINEPREFIX and TRELLAN_PROBE_DLL; the dialog is closed with
# "&Ende" afterwards, and the program's exit code must be 0.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
drive="$1" exe="$2" picture="$3"
source "$here/../../scripts/wine-env.sh"
"$here/../../scripts/wine-prefix.sh"

reply="$(mktemp)"
trap 'rm -f "$reply"' EXIT
# The reply goes through a file: the program inherits the driver's output
# and keeps it open for as long as it runs.
timeout 60 wine "$drive" show "$exe" >"$reply"
# (Windows programs end their lines with CR LF.) The dialog is painted by
# the time the driver answers.
read -r _ x y width height < <(tr -d '\r' <"$reply")
mkdir -p "$(dirname "$picture")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$picture"
timeout 60 wine "$drive" end
echo "dialog picture: $picture"
