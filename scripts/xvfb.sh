# Sourced: gives the commands that follow an X display. When none is set, a
# private Xvfb is started and stopped again when the calling script exits.
# Before the display goes, the Wine servers of the prefixes listed in
# `display_prefixes` (an array the caller may fill) are stopped: a Wine
# process that outlives its display prints X errors on its way out.
if [ -z "${DISPLAY:-}" ]; then
  xvfb_log="$(mktemp)"
  exec {xvfb_fd}<> <(:)
  Xvfb -displayfd "$xvfb_fd" -screen 0 1280x1024x24 -nolisten tcp >"$xvfb_log" 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 30 -u "$xvfb_fd" xvfb_display; then
    echo "error: Xvfb did not start within 30 s. Its output:" >&2
    sed 's/^/  | /' "$xvfb_log" >&2
    echo "How to fix: install the package xvfb, or set DISPLAY to a running X server." >&2
    kill "$xvfb_pid" 2>/dev/null || true
    exit 1
  fi
  export DISPLAY=":$xvfb_display"
  TRELLAN_OWN_DISPLAY=1
  stop_private_display() {
    local prefix
    for prefix in ${display_prefixes[@]+"${display_prefixes[@]}"}; do
      [ -d "$prefix" ] || continue
      WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
      WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -f "$xvfb_log"
  }
  trap stop_private_display EXIT
fi
