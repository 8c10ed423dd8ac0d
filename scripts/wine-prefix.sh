#!/usr/bin/env bash
# Creates the Wine prefix for the program and its tests, once: a crash ends
# the process instead of waiting on a dialog, windows hide without the 2 s
# wait of an unmanaged X display, and the desktop is a real folder of the
# prefix instead of a link into HOME.
# Then it makes sure the prefix's Wine server is running and stays for a
# minute after its last program: a test run starts many short programs, and
# starting the server and Wine's system processes anew costs each of them
# about two seconds.   wine-prefix.sh stop   ends the server at once.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

if [ "${1:-}" = stop ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi

stamp="$WINEPREFIX/.trellan-ready"
if [ ! -f "$stamp" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w

  user_dir="$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)"
  for folder in Desktop Documents Downloads Music Pictures Videos Templates; do
    if [ -L "$user_dir/$folder" ]; then
      rm "$user_dir/$folder"
      mkdir -p "$user_dir/$folder"
    fi
  done
  touch "$stamp"
fi

# Fails harmlessly when the server runs already.
wineserver -p60 2>/dev/null || true
