#!/usr/bin/env bash
# Tags from names and numbered tracks as an independent reader sees them: runs the names test
# program (which drives the editor under Wine) with DA3_KEEP_FOLDER set, then reads the files it
# saved with mutagen: each file of the two albums holds the artist, album, track and title of its
# own name, the two files whose names did not fit hold what they held; the album numbered 1 to 5
# holds its numbers with the total 5 in the form each format keeps (ID3v2.3 "1/5", still
# ID3v2.3; Vorbis TRACKNUMBER "2/5" beside TRACKTOTAL; MP4 trkn), and the WMA file its number with
# the total it held.
# Usage: check_name_saves.sh <names_e2e_test.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DA3_KEEP_FOLDER="Z:${work//\//\\}" "$here/wine-run.sh" "$program" --gtest_brief=1 || exit 1
/usr/bin/python3 - "$work" <<'PY'
import sys
import mutagen
from mutagen.id3 import ID3
work = sys.argv[1]
failures = []
def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: {got!r} is not {expected!r}")
def text(tag, frame):
    return str(tag[frame]) if frame in tag else None
for artist, album in (("Alpha Band", "Morning"), ("\u0411\u0435\u0442\u0430", "\u591c")):
    for n in range(1, 7):
        title = f"Song {n}" + (" - Reprise" if n == 6 else "")
        name = f"{artist} 0{n} - {title}.mp3"
        tag = ID3(f"{work}/{name}")
        check(name, [text(tag, f) for f in ("TPE1", "TALB", "TRCK", "TIT2")],
              [artist, album, str(n), title])
check("07 bonus.mp3", text(ID3(f"{work}/07 bonus.mp3"), "TIT2"), "Tagged Title")
check("Intro - x.flac", mutagen.File(f"{work}/Intro - x.flac").get("title"), ["Tagged Title"])
tag = ID3(f"{work}/Song 1.mp3")
check("Song 1.mp3", (tag.version[:2], text(tag, "TRCK")), ((2, 3), "1/5"))
for name, number in (("Song 2.flac", "2/5"), ("Song 10.ogg", "4/5")):
    tags = mutagen.File(f"{work}/{name}")
    check(name, (tags.get("tracknumber"), tags.get("tracktotal")), ([number], ["5"]))
check("Song 3.m4a", mutagen.File(f"{work}/Song 3.m4a").tags.get("trkn"), [(3, 5)])
wma = mutagen.File(f"{work}/Song 4.wma").tags
check("Song 4.wma", [str(wma[k][0]) for k in ("WM/TrackNumber", "TotalTracks")], ["5", "12"])
print("\n".join(failures) or "mutagen reads every name's values and every number as saved")
sys.exit(1 if failures else 0)
PY
