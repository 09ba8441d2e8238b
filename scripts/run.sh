#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine. The arguments are passed
# through (none opens the configuration window; -edit or -sort with files opens the editor or the
# sorter); an argument that names an existing Linux file or folder is passed as its Windows path.
# Without a display the program runs on a virtual one: a picture of its window is saved and the
# program is ended, since nobody could use it there.
# Usage: run.sh [-edit|-sort] [files...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${DA3_BUILD_ROOT:-build}
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} WINEDEBUG=-all
bash scripts/setup.sh
bash scripts/build.sh --programs
# The shipped program is the 32-bit build/windows/DA3Zur.exe; Wine here runs the 64-bit build of
# the same sources, which needs no 32-bit support from the machine.
exe=$root/$out/win64/DA3Zur.exe

# Wine shows the Linux root as drive Z:. (No Wine helper is asked here: a Wine process started
# before the virtual display would leave the prefix without one.)
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then args+=("Z:$(realpath "$arg" | tr / '\\')"); else args+=("$arg"); fi
done

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "${args[@]}"
fi

case "${args[0]:-}" in
  -edit) title="Veltan's DA3Zur Editor 1.0" ;;
  -sort) title="Veltan's DA3Zur Sorter 1.0" ;;
  *) title="Veltan's DA3Zur Tools 1.0" ;;
esac
picture=$root/build/screenshot.png
echo "No display found: starting the program on a virtual display (Xvfb) and saving a picture of"
echo "the window \"$title\" to $picture."
bash scripts/screenshot.sh "$picture" "$title" "$exe" "${args[@]}"
