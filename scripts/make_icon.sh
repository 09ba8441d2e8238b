#!/usr/bin/env bash
# Draws the program's icon from its source drawing (app/DA3Zur.mvg) with ImageMagick and packs the
# sizes Windows asks for (16, 32, 48 and 256 pixels) into app/DA3Zur.ico, which DA3Zur.rc builds in.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -background none mvg:app/DA3Zur.mvg -depth 8 "$work/256.png"
for size in 48 32 16; do
  convert "$work/256.png" -filter Lanczos -resize "${size}x${size}" -depth 8 "$work/$size.png"
done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$work/256.png" app/DA3Zur.ico
identify app/DA3Zur.ico
