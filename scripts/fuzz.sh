#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds on its seed corpus and prints what it
# ran. Usage: fuzz.sh [seconds]
set -uo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
seconds=${1:-20}
failed=0
for target in "$da3_out"/native/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=tests/fuzz/corpus/${name%_fuzz}
  work=$da3_cache/fuzz-corpus/$name
  mkdir -p "$work"
  log=$da3_out/native/$name.log
  # A crashing input is kept in the cache, not in the folder the script was started from.
  mkdir -p "$da3_cache/fuzz-crashes"
  if "$target" -max_total_time="$seconds" -seed="${DA3_FUZZ_SEED:-1}" -entropic=0 -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -artifact_prefix="$da3_cache/fuzz-crashes/$name-" "$work" "$seeds" >"$log" 2>&1; then
    runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*')
    echo "$name: ${runs:-?} executions, 0 crashes"
  else
    echo "$name: CRASH (see $log)"; tail -n 30 "$log"; failed=1
  fi
done
exit $failed
