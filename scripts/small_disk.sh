#!/usr/bin/env bash
# Mounts (or unmounts) a 1 MiB folder at build/smalldisk for the tests of a save onto a full disk.
# Without the right to mount, those tests are skipped.
source "$(dirname "$0")/environment.sh"
dir=$da3_cache/smalldisk
case "$1" in
  mount)
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=1m tmpfs "$dir" 2>/dev/null ||
      echo "note: could not mount a small disk; the full-disk tests will be skipped" ;;
  unmount) mountpoint -q "$dir" && umount "$dir" ;;
esac
exit 0
