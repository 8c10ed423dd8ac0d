#!/usr/bin/env bash
# Installs what building, running or testing Trellan needs on Debian 12, as
# root. Idempotent and quiet: when everything is present it does nothing.
#   scripts/install-deps.sh run    build and run the program under Wine
#   scripts/install-deps.sh test   also everything the tests need
set -euo pipefail
mode="${1:-test}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# googletest's sources are built into the Windows tree's test programs,
# which configuring that tree always sets up.
packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix wine wine32:i386 wine64
          xvfb x11-utils xdotool imagemagick googletest)
if [ "$mode" = test ]; then
  packages+=(libgtest-dev clang libclang-rt-14-dev chromium openjdk-17-jre-headless icoutils)
fi

missing=()
for package in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)"
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

# Node.js may come from elsewhere than Debian (with its own npm): only a
# machine without npm gets Debian's.
if [ "$mode" = test ] && ! command -v npm >/dev/null; then
  missing+=(nodejs npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# The browser tests' npm packages (Playwright's driver, the HTML checker).
if [ "$mode" = test ]; then
  browser="$here/../tests/browser"
  if [ -f "$browser/package-lock.json" ] && \
     { [ ! -d "$browser/node_modules" ] || [ "$browser/package-lock.json" -nt "$browser/node_modules" ]; }; then
    (cd "$browser" && npm ci --silent --no-audit --no-fund >/dev/null)
    touch "$browser/node_modules"
  fi
fi
