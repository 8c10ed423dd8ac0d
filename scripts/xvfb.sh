# Sourced: gives the commands that follow an X display. When none is set, a
# private Xvfb is started and stopped again when the calling script exits.
if [ -z "${DISPLAY:-}" ]; then
  exec {xvfb_fd}<> <(:)
  Xvfb -displayfd "$xvfb_fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -u "$xvfb_fd" xvfb_display
  export DISPLAY=":$xvfb_display"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  TRELLAN_OWN_DISPLAY=1
fi
