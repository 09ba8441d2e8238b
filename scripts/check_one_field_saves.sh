#!/usr/bin/env bash
# One-field saves as an independent reader sees them: for each fixture, mutagen's view of every tag
# (and a WAV file's INFO fields) before and after save_field sets the title, and again after it
# clears the comment; each must differ in that field alone.
# Usage: check_one_field_saves.sh <save_field.exe> <fixture folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1 fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dump() { /usr/bin/python3 "$here/make_rich_fixtures.py" --dump "$1" | tail -n +2; }
# Every fixture's title is "Old Title", and its own comment (where it has one) "Own words".
edits=("title|New Title|s/Old Title/New Title/" "comment||/Own words/d")
failed=0
for name in rich.flac vinyl.flac rich.ogg vinyl.ogg rich-v23.mp3 rich-v24.mp3 rich.m4a fmt.opus \
  fmt.wma fmt-info.wav fmt-id3.wav fmt.aiff fmt.wv fmt.ape fmt.mpc; do
  for edit in "${edits[@]}"; do
    IFS='|' read -r field text change <<<"$edit"
    cp "$fixtures/$name" "$work/$name"
    dump "$work/$name" | sed -E "$change" >"$work/expected"
    if ! "$here/wine-run.sh" "$program" "Z:${work//\//\\}\\$name" "$field" "$text"; then
      echo "$name: the $field save failed"; failed=1; continue
    fi
    dump "$work/$name" >"$work/got"
    if diff -u "$work/expected" "$work/got"; then echo "$name: only the $field changed"
    else echo "$name: a $field save changed more than the $field"; failed=1; fi
  done
done
exit $failed
