#!/usr/bin/env bash
# Builds one benchmark program of the 64-bit build and runs it under Wine on a virtual display,
# once per argument (each argument is one command line for it). Used by scripts/bench_*.sh.
# Usage: run_bench.sh <program> "<arguments>"...
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
program=$1; shift
bash scripts/make_fixtures.sh "$da3_cache/fixtures"
cmake --build "$da3_out/win64" --target "$program" >/dev/null
echo "$program: 64-bit builds under Wine; $(nproc) cores," \
  "load $(cut -d' ' -f1-3 /proc/loadavg)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$0"; run=$1; program=$2; shift 2
  for command in "$@"; do
    bash "$run" "$program.exe" $command 2>&1 | grep -v "^wine: " || true
  done
' "$da3_out/win64" "$da3_root/scripts/wine-run.sh" "$program" "$@"
