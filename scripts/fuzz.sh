#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds on its seed corpus and prints what it
# ran. Usage: fuzz.sh [seconds]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
failed=0
out=${DA3_BUILD_ROOT:-build}
for target in "$out"/native/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=tests/fuzz/corpus/${name%_fuzz}
  work=build/fuzz-corpus/$name
  mkdir -p "$work"
  log=$out/native/$name.log
  # A crashing input is kept under build/, not in the folder the script was started from.
  mkdir -p build/fuzz-crashes
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -artifact_prefix=build/fuzz-crashes/"$name"- "$work" "$seeds" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*')
    echo "$name: ${runs:-?} executions, 0 crashes"
  else
    echo "$name: CRASH (see $log)"; tail -n 30 "$log"; failed=1
  fi
done
exit $failed
