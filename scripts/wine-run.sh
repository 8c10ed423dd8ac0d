#!/usr/bin/env bash
# Runs a Windows program in the build tree's prefix and passes on its exit
# code (CTest's emulator for the cross build).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
"$here/wine-prefix.sh" || exit 1
exec wine "$@"
