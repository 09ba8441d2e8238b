#!/usr/bin/env bash
# Prints the editor's start-up figures: DA3Zur.exe -edit with one tagged MP3 until its window is
# visible and filled, against a trivial GUI program until its window is visible, taking turns,
# and the median ratio. Needs scripts/build.sh first. Usage: bench_editor.sh [runs]   (default 15)
set -euo pipefail
exec bash "$(dirname "$0")/run_bench.sh" editor_bench "${1:-15}"
