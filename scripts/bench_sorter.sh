#!/usr/bin/env bash
# Prints the sorter's figures: sort throughput (1,000 and 5,000 files, copy and move, against a
# plain loop, in rounds), the hand-over of 50 processes (against 50 trivial GUI processes) and of
# 50 and 1,000 files dropped on the sort verb in one call, as Explorer calls it, and the
# window with 2,500, 5,000 and 10,000 rows, where a run's time goes (each step over 1,000 files),
# and the program as a user starts it (DA3Zur.exe -sort with 1,000 files, and its undo). Takes
# about a quarter of an hour. Needs scripts/build.sh first.
# Usage: bench_sorter.sh [sort|program|handover|rows|steps]...   (default: all five)
set -euo pipefail
runs=("$@"); [ ${#runs[@]} -gt 0 ] || runs=(sort program handover rows steps)
commands=()
for run in "${runs[@]}"; do
  case $run in
    sort) commands+=("sort 1000 3" "sort 5000 2") ;;
    program) commands+=("program 1000 3") ;;
    handover) commands+=("handover 50" "handfiles 1" "handfiles 1000" "verbcall 50" "verbcall 1000") ;;
    rows) commands+=("rows 2500" "rows 5000" "rows 10000" "preview 10000") ;;
    steps) commands+=("steps 1000") ;;
    *) echo "unknown run: $run" >&2; exit 2 ;;
  esac
done
exec bash "$(dirname "$0")/run_bench.sh" sorter_bench "${commands[@]}"
