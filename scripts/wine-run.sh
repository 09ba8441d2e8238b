#!/usr/bin/env bash
# Runs a Windows program under Wine, with the loader and in the prefix of the program's
# architecture (scripts/environment.sh), ended after 10 minutes at the latest.
# The output goes through a file and is printed once the program has ended: a process the
# program left behind (a COM server, say) inherits the file, not the caller's pipe, so a caller
# that reads to the end (CTest) never waits for it.
# Usage: wine-run.sh <program.exe> [arguments...]
source "$(dirname "$0")/environment.sh"
wine_for_program "$1" || exit 1
output=$(mktemp)
timeout -k 10 600 "$wine_loader" "$@" >"$output" 2>&1
code=$?
cat "$output"
rm -f "$output"
exit $code
