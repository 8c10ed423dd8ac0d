# Sourced: the environment in which the program and its tests run under Wine.
# The prefix is private to the build tree (never ~/.wine), and so is HOME,
# because creating a prefix links the user's shell folders into HOME.
: "${TRELLAN_WINEPREFIX:?TRELLAN_WINEPREFIX must name the prefix folder}"
export WINEPREFIX="$TRELLAN_WINEPREFIX"
export HOME="$TRELLAN_WINEPREFIX.home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
mkdir -p "$HOME"
