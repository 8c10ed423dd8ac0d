#!/usr/bin/env bash
# Creates the Wine prefix for the program and its tests, once: a crash ends
# the process instead of waiting on a dialog, windows hide without the 2 s
# wait of an unmanaged X display, and the desktop is a real folder of the
# prefix instead of a link into HOME. Wine draws caption buttons and other
# system glyphs with its own fonts (package fonts-wine); Debian's Wine 8
# finds them only in the prefix's Fonts folder, so they are linked there.
# Then it makes sure the prefix's Wine server is running and stays for a
# minute after its last program: a test run starts many short programs, and
# starting the server and Wine's system processes anew costs each of them
# about two seconds.   wine-prefix.sh stop   ends the server at once.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
source "$here/steps.sh"

if [ "${1:-}" = stop ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi

# A prefix made by an older version of this script is made anew.
version=2
stamp="$WINEPREFIX/.trellan-ready"
make_prefix() {
  hint="delete $WINEPREFIX and try again; 'wine --version' must work (packages wine, wine32:i386)"
  rm -rf "$WINEPREFIX"
  step "creating the Wine prefix $WINEPREFIX" "$hint" wineboot -i
  step "waiting for Wine to finish setting up the prefix" "$hint" wineserver -w
  step "switching off Wine's crash dialog" "$hint" \
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  step "letting windows hide without waiting for a window manager" "$hint" \
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  step "waiting for Wine to store the settings" "$hint" wineserver -w

  user_dir="$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)"
  [ -n "$user_dir" ] || fail "the new Wine prefix has no user folder under $WINEPREFIX/drive_c/users" "$hint"
  for folder in Desktop Documents Downloads Music Pictures Videos Templates; do
    if [ -L "$user_dir/$folder" ]; then
      rm "$user_dir/$folder"
      mkdir -p "$user_dir/$folder"
    fi
  done
  fonts=(/usr/share/wine/fonts/*.tt[fc])
  [ -e "${fonts[0]}" ] || fail "Wine's own fonts are missing from /usr/share/wine/fonts" \
    "install the package fonts-wine (scripts/install-deps.sh does)"
  ln -sf "${fonts[@]}" "$WINEPREFIX/drive_c/windows/Fonts/"
  echo "$version" >"$stamp"
}

[ "$(cat "$stamp" 2>/dev/null)" = "$version" ] || make_prefix

# Fails harmlessly when the server runs already.
wineserver -p60 2>/dev/null || true
