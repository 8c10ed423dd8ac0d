#!/usr/bin/env bash
# A small real file system for the full-disk tests: a tmpfs mounted at DIR.
#   small-disk.sh mount DIR SIZE     (e.g. 512k)
#   small-disk.sh unmount DIR
# Where it cannot be mounted (not root, no tmpfs, a chroot that forbids it)
# the reason goes to DIR.skip, and the tests report themselves skipped.
set -uo pipefail
action="$1" dir="$2"
skip="$dir.skip"
case "$action" in
  mount)
    rm -f "$skip"
    mkdir -p "$dir"
    mountpoint -q "$dir" && umount "$dir"
    if ! output="$(mount -t tmpfs -o "size=$3" tmpfs "$dir" 2>&1)"; then
      echo "no tmpfs could be mounted at $dir: ${output:-mount failed}" >"$skip"
      echo "SKIP: $(cat "$skip")"
    fi
    ;;
  unmount)
    if mountpoint -q "$dir"; then umount "$dir" || exit 1; fi
    rm -f "$skip"
    rmdir "$dir" 2>/dev/null || true
    ;;
  *) echo "usage: $0 mount DIR SIZE | unmount DIR" >&2; exit 2 ;;
esac
