#!/usr/bin/env bash
# Takes a picture of one program window under a virtual display: starts the Windows program under
# Wine, waits for a window with the given title, and saves that window (with a small margin) as PNG.
# Usage: screenshot.sh <out.png> "<window title>" <program.exe> [arguments...]
set -euo pipefail
out=$(realpath -m "$1"); title=$2; shift 2
source "$(dirname "$0")/environment.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$out" "$title" "$@"
fi
wine_for_program "$1"
"$wine_loader" "$@" >/dev/null 2>&1 &
program=$!
geometry=
for _ in $(seq 200); do
  info=$(xwininfo -name "$title" 2>/dev/null) && geometry=$info && break
  sleep 0.1
done
if [ -z "$geometry" ]; then kill "$program"; echo "no window titled '$title' appeared" >&2; exit 1; fi
sleep 1  # let the window paint its controls
x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$geometry")
w=$(awk '/Width:/ {print $NF}' <<<"$geometry")
h=$(awk '/Height:/ {print $NF}' <<<"$geometry")
margin=8
xwd -root -display "$DISPLAY" | convert xwd:- -crop "$((w + 2 * margin))x$((h + 2 * margin))+$((x > margin ? x - margin : 0))+$((y > margin ? y - margin : 0))" +repage "$out"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "saved $out"
