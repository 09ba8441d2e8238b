#!/usr/bin/env bash
# Builds one benchmark program and runs it under Wine on a virtual display, once per argument
# (each argument is one command line for it): the shipped 32-bit build where this machine runs
# 32-bit programs, else the 64-bit build (DA3_BENCH_BUILD=win64 or win32 chooses). Its files are
# made on tmpfs, so the disk's own speed does not blur the figures; drives T: and S: are two letters
# for folders of that one volume. Used by scripts/bench_*.sh.
# Usage: run_bench.sh <program> "<arguments>"...
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
program=$1; shift
build=${DA3_BENCH_BUILD:-$(runs_32_bit && echo win32 || echo win64)}
bash scripts/make_fixtures.sh "$da3_cache/fixtures"
cmake --build "$da3_out/$build" --target "$program" >/dev/null
temp=/dev/shm/da3-bench-$$
# Two drive letters on that one volume, as subst gives them: T: for the folder t, S: for t/src.
mkdir -p "$temp/t/src"
prefixes=("$WINEPREFIX" "$WINEPREFIX32")
for prefix in "${prefixes[@]}"; do
  [ -d "$prefix/dosdevices" ] || continue
  ln -sfn "$temp/t" "$prefix/dosdevices/t:"
  ln -sfn "$temp/t/src" "$prefix/dosdevices/s:"
done
trap 'rm -rf "$temp"; for p in "${prefixes[@]}"; do rm -f "$p/dosdevices/t:" "$p/dosdevices/s:"; done' EXIT
export DA3_TEST_TEMP="Z:${temp//\//\\}"
echo "$program: the $build build under Wine; $(nproc) cores," \
  "load $(cut -d' ' -f1-3 /proc/loadavg); files on tmpfs"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$0"; run=$1; program=$2; shift 2
  for command in "$@"; do
    bash "$run" "$program.exe" $command 2>&1 | grep -v "^wine: " || true
  done
' "$da3_out/$build" "$da3_root/scripts/wine-run.sh" "$program" "$@"
