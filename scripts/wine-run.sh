#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix, ended after 10 minutes at the latest.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
exec timeout -k 10 600 wine "$@"
