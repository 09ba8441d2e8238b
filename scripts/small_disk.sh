#!/usr/bin/env bash
# Mounts (or unmounts) two small disks for the tests: a 1 MiB folder at build/smalldisk for saves
# and copies onto a full disk, and a folder at build/otherdrive on a volume of its own for moves
# between drives (it takes memory only for what is written to it). Without the right to mount,
# those tests are skipped.
source "$(dirname "$0")/environment.sh"
disks=("$da3_cache/smalldisk:1m" "$da3_cache/otherdrive:4g")
for disk in "${disks[@]}"; do
  dir=${disk%:*}
  case "$1" in
    mount)
      mkdir -p "$dir"
      mountpoint -q "$dir" || mount -t tmpfs -o "size=${disk##*:}" tmpfs "$dir" 2>/dev/null ||
        echo "note: could not mount a small disk at $dir; the tests that need it will be skipped" ;;
    unmount) mountpoint -q "$dir" && umount "$dir" ;;
  esac
done
# The other volume is drive Y: in both Wine prefixes too, as a second drive is on Windows.
for prefix in "$WINEPREFIX" "$WINEPREFIX32"; do
  [ -d "$prefix/dosdevices" ] || continue
  case "$1" in
    mount) ln -sfn "$da3_cache/otherdrive" "$prefix/dosdevices/y:" ;;
    unmount) rm -f "$prefix/dosdevices/y:" ;;
  esac
done
exit 0
