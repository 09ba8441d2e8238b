#!/usr/bin/env bash
# Prints the editor's figures: DA3Zur.exe -edit with one tagged MP3 until its window is visible
# and filled, against a trivial GUI program until its window is visible, taking turns, and the
# median ratio; then 1,000 files handed over by the edit verb: the call to the filled editor, and
# one field saved into all of them against as many single saves; the editor of an MP3 with a
# large JPEG cover, and of 1,000 files with covers. Needs scripts/build.sh first.
# Usage: bench_editor.sh [runs] [files]   (default 15 and 1000)
set -euo pipefail
exec bash "$(dirname "$0")/run_bench.sh" editor_bench "${1:-15}" "album ${2:-1000}" \
  "covers ${1:-15} ${2:-1000}"
