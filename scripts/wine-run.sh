#!/usr/bin/env bash
# Runs a Windows program in the build tree's prefix and passes on its exit
# code and its output (CTest's emulator for the cross build). The output
# goes through a file, not straight to the caller: the processes that Wine
# starts for a program (its desktop, its services) inherit it and stay with
# the prefix's server for the next program, and whoever reads a pipe would
# wait for them.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
"$here/wine-prefix.sh" || exit 1
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
wine "$@" >"$output" 2>&1
status=$?
cat "$output"
exit "$status"
