#!/usr/bin/env bash
# Runs a Windows program under Wine, with the loader and in the prefix of the program's
# architecture (scripts/environment.sh), ended after 10 minutes at the latest.
# Usage: wine-run.sh <program.exe> [arguments...]
source "$(dirname "$0")/environment.sh"
wine_for_program "$1" || exit 1
exec timeout -k 10 600 "$wine_loader" "$@"
