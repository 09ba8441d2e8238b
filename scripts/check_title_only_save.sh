#!/usr/bin/env bash
# A title-only save as an independent reader sees it: for each rich fixture, mutagen's view of every
# tag before and after save_title, which must differ in the title alone.
# Usage: check_title_only_save.sh <save_title.exe> <fixture folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1 fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dump() { /usr/bin/python3 "$here/make_rich_fixtures.py" --dump "$1" | tail -n +2; }
failed=0
for name in rich.flac vinyl.flac rich.ogg vinyl.ogg rich-v23.mp3 rich-v24.mp3 rich.m4a; do
  cp "$fixtures/$name" "$work/$name"
  dump "$work/$name" | sed -E "s/^((title|©nam)='|TIT2='TIT2=)Old Title'$/\1New Title'/" >"$work/expected"
  if ! "$here/wine-run.sh" "$program" "Z:${work//\//\\}\\$name" "New Title"; then
    echo "$name: the save failed"; failed=1; continue
  fi
  dump "$work/$name" >"$work/got"
  if diff -u "$work/expected" "$work/got"; then echo "$name: only the title changed"
  else echo "$name: a title-only save changed more than the title"; failed=1; fi
done
exit $failed
