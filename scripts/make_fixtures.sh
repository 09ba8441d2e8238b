#!/usr/bin/env bash
# Makes the real audio files the tests read and write: MP3, FLAC and Ogg Vorbis with tags, files
# without a tag, files with full dates, totals, several values and iTunes' frames (MP4 too), and one
# file of every further format family. Usage: make_fixtures.sh <folder>. Skips the work when the
# folder is current.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath -m "$1")
stamp=$out/.version-8
[ -f "$stamp" ] && exit 0
rm -rf "$out" && mkdir -p "$out"
cd "$out"

# One second of a 440 Hz tone, 44.1 kHz, 16-bit stereo.
python3 - <<'PY'
import math, struct, wave
with wave.open("tone.wav", "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    frames = bytearray()
    for i in range(44100):
        v = int(12000 * math.sin(2 * math.pi * 440 * i / 44100))
        frames += struct.pack("<hh", v, v)
    w.writeframes(bytes(frames))
PY

tags=(--tt "Tagged Title" --ta "Tagged Artist" --tl "Tagged Album" --ty 1999 --tc "A comment" --tn 7 --tg Rock)
lame --quiet -b 128 --add-id3v2 "${tags[@]}" tone.wav tagged.mp3
lame --quiet -b 128 tone.wav notag.mp3
flac --silent --force -o tagged.flac --tag=TITLE="Tagged Title" --tag=ARTIST="Tagged Artist" \
  --tag=ALBUM="Tagged Album" --tag=DATE=1999 --tag=COMMENT="A comment" --tag=TRACKNUMBER=7 \
  --tag=GENRE=Rock tone.wav
flac --silent --force -o notag.flac tone.wav
oggenc --quiet -b 96 -o tagged.ogg -t "Tagged Title" -a "Tagged Artist" -l "Tagged Album" -d 1999 \
  -c "COMMENT=A comment" -N 7 -G Rock tone.wav
oggenc --quiet -b 96 -o notag.ogg tone.wav
# Files whose tags hold more than the seven fields show (Debian's python3-mutagen, not the
# build's own Python), and one of every further format family.
# Covers: two small PNGs of different colours and sizes, a text file named like a picture, and two
# FLAC files of one album, each with its own front cover and a back cover they share.
python3 - <<'PY'
import struct, zlib
def png(name, width, height, rgb):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
png("cover-red.png", 60, 40, (200, 30, 30))
png("cover-blue.png", 30, 30, (30, 30, 200))
png("back.png", 8, 8, (20, 160, 20))
open("not-a-picture.png", "w").write("These are words, not a picture.\n")
PY
for colour in red blue; do
  cp tagged.flac "covered-$colour.flac"
  metaflac --import-picture-from="3||||cover-$colour.png" --import-picture-from="4|image/png|back||back.png" \
    "covered-$colour.flac"
done
/usr/bin/python3 "$here/make_rich_fixtures.py"
PYTHONPATH=$here /usr/bin/python3 "$here/make_format_fixtures.py"
rm tone.wav
touch "$stamp"
