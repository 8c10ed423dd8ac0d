#!/usr/bin/env bash
# Proves the README's two commands on a fresh machine: builds a bare Debian
# 12 root (debootstrap --variant=minbase, as a container image is), copies a
# clean clone of the current commit into it, runs scripts/run.sh and then
# scripts/test.sh there in a chroot, reports each command's exit code and
# wall time, and removes the root again. Needs root. Not part of the tests.
#   scripts/fresh-check.sh [--keep]     (--keep leaves the root for a look)
# Only this machine's network settings go in: apt sources and settings, the
# npm configuration, the name server and the local certificate authorities.
# Everything else the commands need they must install themselves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/steps.sh"
keep=0
[ "${1:-}" = --keep ] && keep=1

[ "$(id -u)" -eq 0 ] || fail "the fresh-root check needs root (debootstrap, mount, chroot)" \
  "run it as root"
if ! command -v debootstrap >/dev/null; then
  step "installing debootstrap" "check the package sources and the network" \
    env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

work="$(mktemp -d /var/tmp/trellan-fresh.XXXXXX)"
target="$work/root"
logs="$root/build/fresh-check"
mkdir -p "$logs"
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  if [ "$keep" = 1 ]; then echo "The root stays in $target"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# The Debian mirror this machine uses (deb822 or one-line sources).
mirror="$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
  grep -v security | head -n 1 || true)"
[ -n "$mirror" ] || mirror="$(awk '$1 == "deb" && $2 !~ /security/ {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)"
mirror="${mirror:-http://deb.debian.org/debian}"

echo "Building a bare Debian 12 root in $target (mirror $mirror)"
started=$(date +%s)
step "debootstrap --variant=minbase bookworm" "check the mirror $mirror and the network" \
  debootstrap --variant=minbase bookworm "$target" "$mirror"
echo "  done in $(( $(date +%s) - started )) s"

# The network settings, and nothing the project installs. The root's own
# one-line sources give way to this machine's.
rm -f "$target/etc/apt/sources.list"
copy_in() {
  local from
  for from in "$@"; do
    [ -e "$from" ] || continue
    mkdir -p "$target$(dirname "$from")"
    cp -a "$from" "$target$(dirname "$from")/"
  done
}
copy_in /etc/apt/sources.list /etc/apt/sources.list.d /etc/apt/apt.conf.d /etc/apt/trusted.gpg.d \
  /etc/apt/keyrings /etc/npmrc /usr/etc/npmrc /root/.npmrc /usr/local/share/ca-certificates
cp -L /etc/resolv.conf "$target/etc/resolv.conf"

step "cloning the current commit into the root" "commit first; the check uses what is committed" \
  git clone --quiet --no-hardlinks "$root" "$target/root/trellan"
echo "Checking commit $(git -C "$target/root/trellan" log -1 --format='%h %s')"

mount_in() {
  mkdir -p "$target$2"
  mount "${@:3}" "$1" "$target$2"
  mounted+=("$target$2")
}
mount_in proc /proc -t proc
mount_in sysfs /sys -t sysfs
mount_in /dev /dev --bind
mount_in devpts /dev/pts -t devpts

# Runs one of the README's commands in the root as a new user's shell would,
# with its output shown and kept in build/fresh-check/.
declare -A seconds codes
run_in_root() {
  local name="$1" begin status=0
  echo
  echo "=== $name (output also in $logs/$name.log)"
  begin=$(date +%s)
  chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/trellan && scripts/$name" 2>&1 | tee "$logs/$name.log" || status=$?
  seconds[$name]=$(( $(date +%s) - begin ))
  codes[$name]=$status
}
run_in_root run.sh
run_in_root test.sh

echo
echo "Fresh Debian 12 root, commit $(git -C "$root" rev-parse --short HEAD):"
result=0
for name in run.sh test.sh; do
  printf '  scripts/%-8s exit code %s, %s s\n' "$name" "${codes[$name]}" "${seconds[$name]}"
  [ "${codes[$name]}" -eq 0 ] || result=1
done
exit "$result"
