#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine. The arguments are passed
# through (none opens the configuration window; -edit or -sort with files opens the editor or the
# sorter); an argument that names an existing Linux file or folder is passed as its Windows path.
# Without a display the program runs on a virtual one: a picture of its window is saved and the
# program is ended, since nobody could use it there.
# The program is the shipped 32-bit one where this machine runs 32-bit programs, else the 64-bit
# build of the same sources; each runs with the Wine loader and prefix of its architecture.
# Usage: run.sh [-edit|-sort] [files...]
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
bash scripts/setup.sh
bash scripts/build.sh --programs
if runs_32_bit; then
  exe=$da3_out/windows/DA3Zur.exe
else
  exe=$da3_out/win64/DA3Zur.exe
  echo "Starting the 64-bit build: this machine does not run 32-bit programs" \
       "($(cat "$da3_runs32_file"))."
fi

# Wine shows the Linux root as drive Z:. (No Wine helper is asked here: a Wine process started
# before the virtual display would leave the prefix without one.)
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then args+=("Z:$(realpath "$arg" | tr / '\\')"); else args+=("$arg"); fi
done

if [ -n "${DISPLAY:-}" ]; then
  wine_for_program "$exe"
  exec "$wine_loader" "$exe" "${args[@]}"
fi

case "${args[0]:-}" in
  -edit) title="Veltan's DA3Zur Editor 1.0" ;;
  -sort) title="Veltan's DA3Zur Sorter 1.0" ;;
  *) title="Veltan's DA3Zur Tools 1.0" ;;
esac
picture=$da3_cache/screenshot.png
echo "No display found: starting the program on a virtual display (Xvfb) and saving a picture of"
echo "the window \"$title\" to $picture."
bash scripts/screenshot.sh "$picture" "$title" "$exe" "${args[@]}"
