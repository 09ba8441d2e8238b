#!/usr/bin/env bash
# Rebuilds the README's pictures of the windows (docs/*.png) with scripts/screenshot.sh: the
# configuration window with French chosen, the editor with a tagged MP3 and the sorter with five
# files, both in C:\Music of the Wine prefix. Wine's own fonts (Debian's fonts-wine, which
# scripts/setup.sh installs) draw the title bars' buttons.
# Needs scripts/build.sh first; pictures come from the 64-bit build, which looks the same.
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
exe=$da3_out/win64/DA3Zur.exe
[ -f "$exe" ] || { echo "build first: $exe is missing" >&2; exit 1; }
bash scripts/make_fixtures.sh "$da3_cache/fixtures"

music=$WINEPREFIX/drive_c/Music
rm -rf "$music" && mkdir -p "$music/Incoming"
trap 'rm -rf "$music"' EXIT
files=("Morning Light.mp3" "Harbour Lights.flac" "Night Drive.ogg" "Old Tape 04.mp3"
       "Rainfall (live).flac")
sorted=()
for name in "${files[@]}"; do
  cp "$da3_cache/fixtures/tagged.${name##*.}" "$music/Incoming/$name"
  sorted+=("C:\\Music\\Incoming\\$name")
done

# One file is already at its target, so the picture shows a marked row.
mkdir -p "$music/Rock/Tagged Artist/Tagged Album"
cp "$da3_cache/fixtures/tagged.ogg" "$music/Rock/Tagged Artist/Tagged Album/Night Drive.ogg"

# The configuration window in French; the prefix user's own preferences are put back afterwards.
settings="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Veltan's DA3Zur Tools"
mkdir -p "$settings"
saved=
if [ -f "$settings/preferences.ini" ]; then
  saved=$(mktemp) && cp "$settings/preferences.ini" "$saved"
fi
printf 'Language = Francais.catalog\r\nContextMenu = 0\r\n' >"$settings/preferences.ini"
bash scripts/screenshot.sh docs/configuration.png "Veltan's DA3Zur Tools 1.0" "$exe" || failed=1
if [ -n "$saved" ]; then mv "$saved" "$settings/preferences.ini"; else rm "$settings/preferences.ini"; fi
[ -z "${failed:-}" ] || exit 1

# The editor's file has a front cover: a PNG drawn here (an evening sky over a sea).
/usr/bin/python3 - "$music/Incoming/${files[0]}" <<'PY'
import struct, sys, zlib
from mutagen.id3 import APIC, ID3
size = 300
rows = bytearray()
for y in range(size):
    rows.append(0)
    for x in range(size):
        sun = (x - 200) ** 2 + (y - 120) ** 2 < 45 ** 2
        if sun: pixel = (255, 214, 120)
        elif y < 190: pixel = (40 + y // 2, 40 + y // 4, 110 + y // 3)
        else: pixel = (20, 50 + (x * y) % 23, 90 + (y - 190) // 2)
        rows += bytes(pixel)
chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
tags = ID3(sys.argv[1])
tags.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=png))
tags.save(sys.argv[1], v2_version=tags.version[1])
PY

cd "$music"  # Wine starts the program here, so the sorter's pattern begins with C:\Music
bash "$da3_root/scripts/screenshot.sh" "$da3_root/docs/editor.png" "Veltan's DA3Zur Editor 1.0" "$exe" \
  -edit "${sorted[0]}"
bash "$da3_root/scripts/screenshot.sh" "$da3_root/docs/sorter.png" "Veltan's DA3Zur Sorter 1.0" "$exe" \
  -sort "${sorted[@]}"
# The editor with four files of an album, one of them tagged otherwise: what they share shows, the
# rest is empty under its grey hint.
cp "$da3_cache/fixtures/rich-v24.mp3" "$music/Incoming/Bonus Track.mp3"
bash "$da3_root/scripts/screenshot.sh" "$da3_root/docs/editor_album.png" "Veltan's DA3Zur Editor 1.0" \
  "$exe" -edit "${sorted[0]}" "${sorted[1]}" "${sorted[2]}" "C:\\Music\\Incoming\\Bonus Track.mp3"

# The window "Tags from file names" over an album's names, one of which does not fit.
names=()
for title in "01 - Harbour Lights" "02 - Morning Light" "03 - Night Drive" "04 - Rainfall (live)" \
  "05 - Old Tape" "06 - Slow Boats" "07 - Paper Moon" "Bonus - Demo"; do
  names+=("C:\\Music\\Incoming\\Alpha Band\\Morning\\$title.mp3")
done
bash "$da3_root/scripts/screenshot.sh" "$da3_root/docs/names.png" "Tags from file names" \
  "$da3_out/win64/show_names_window.exe" '%ARTIST%\%ALBUM%\%TRACK% - %TITLE%' "${names[@]}"
