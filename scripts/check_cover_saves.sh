#!/usr/bin/env bash
# The editor's cover saves as an independent reader sees them: runs the cover test program (which
# drives the editor under Wine) with DA3_KEEP_FOLDER set, then reads the files it saved with
# mutagen: the PNG added is the front cover, byte for byte, of an ID3v2.3 MP3 (still ID3v2.3), a
# FLAC (with the picture's size and depth), an Ogg Vorbis file and an M4A; of an album with two
# covers where only the title was typed, the other file keeps both its pictures; the file whose
# cover was removed keeps its back cover alone; the cover saved out has the stored bytes.
# Usage: check_cover_saves.sh <cover_e2e_test.exe> <fixture folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1 fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DA3_KEEP_FOLDER="Z:${work//\//\\}" "$here/wine-run.sh" "$program" --gtest_brief=1 || exit 1
/usr/bin/python3 - "$work" "$fixtures" <<'PY'
import base64, sys
from mutagen.flac import FLAC, Picture
from mutagen.id3 import ID3
from mutagen.mp4 import MP4, MP4Cover
from mutagen.oggvorbis import OggVorbis
work, fixtures = sys.argv[1], sys.argv[2]
read = lambda path: open(path, "rb").read()
red, blue, back = (read(f"{fixtures}/{n}.png") for n in ("cover-red", "cover-blue", "back"))
failures = []
def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: {got!r:.120} is not {expected!r:.120}")
tag = ID3(f"{work}/a.mp3")
check("a.mp3 version", tag.version[:2], (2, 3))
check("a.mp3 pictures", [(f.type, f.mime, f.data) for f in tag.getall("APIC")], [(3, "image/png", red)])
flac = FLAC(f"{work}/b.flac")
check("b.flac pictures", [(p.type, p.mime, p.width, p.height, p.depth, p.data) for p in flac.pictures],
      [(3, "image/png", 60, 40, 24, red)])
ogg = OggVorbis(f"{work}/c.ogg")
pictures = [Picture(base64.b64decode(v)) for v in ogg.get("metadata_block_picture", [])]
check("c.ogg pictures", [(p.type, p.data) for p in pictures], [(3, red)])
covr = MP4(f"{work}/d.m4a").tags.get("covr", [])
check("d.m4a covers", [(bytes(c), c.imageformat) for c in covr], [(red, MP4Cover.FORMAT_PNG)])
check("01 red.flac pictures", [(p.type, p.data) for p in FLAC(f"{work}/01 red.flac").pictures], [(4, back)])
check("02 blue.flac pictures", [(p.type, p.data) for p in FLAC(f"{work}/02 blue.flac").pictures],
      [(3, blue), (4, back)])
check("saved out.png", read(f"{work}/saved out.png"), red)
print("\n".join(failures) or "mutagen reads every cover as saved")
sys.exit(1 if failures else 0)
PY
