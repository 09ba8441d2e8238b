"""Makes fixtures whose tags hold more than the program's seven fields show: full dates, track
totals, vinyl track names, several values per field and iTunes' described comment frames, in FLAC,
Ogg Vorbis, MP3 (ID3v2.3 and ID3v2.4) and MP4. Run in the fixture folder after the plain fixtures
exist; needs Debian's python3-mutagen. With --dump FILE..., prints each file's tags as mutagen reads
them (a WAV file's INFO fields too), one line per key and value, for comparing a file before and
after a save."""
import struct
import sys

import mutagen
from mutagen import id3
from mutagen.flac import FLAC
from mutagen.mp4 import MP4
from mutagen.oggvorbis import OggVorbis

VORBIS = {
    "TITLE": ["Old Title"],
    "ARTIST": ["Alpha", "Beta"],
    "ALBUM": ["The Album"],
    "DATE": ["2011-03-14"],
    "TRACKNUMBER": ["05/12"],
    "TRACKTOTAL": ["12"],
    "GENRE": ["Rock", "Pop"],
    "COMMENT": ["Own words"],
    "MUSICBRAINZ_ALBUMID": ["6f1d7f43-0000-4000-8000-000000000001"],
}


def vorbis(path, cls, track):
    f = cls(path)
    f.delete()
    for key, values in VORBIS.items():
        f[key] = values
    f["TRACKNUMBER"] = [track]
    f.save()


def itunes_frames():
    return [
        id3.COMM(encoding=0, lang="eng", desc="iTunNORM",
                 text=" 00000A2B 00000B3C 00004E5F 00005A6B 0001A2B3"),
        id3.COMM(encoding=0, lang="eng", desc="iTunSMPB",
                 text=" 00000000 00000210 000003C0 0000000000ABCDEF"),
        id3.COMM(encoding=0, lang="eng", desc="iTunPGAP", text="0"),
    ]


def mp3(source, path, version, own_comment):
    with open(source, "rb") as s, open(path, "wb") as d:
        d.write(s.read())
    t = id3.ID3()
    t.add(id3.TIT2(encoding=1, text="Old Title"))
    t.add(id3.TPE1(encoding=1, text=["Alpha", "Beta"]))
    t.add(id3.TALB(encoding=1, text="The Album"))
    t.add(id3.TDRC(encoding=1, text="2011-03-14"))
    t.add(id3.TRCK(encoding=1, text="5/12"))
    t.add(id3.TPOS(encoding=1, text="1/2"))
    t.add(id3.TCON(encoding=1, text=["Rock", "Pop"]))
    if own_comment:
        t.add(id3.COMM(encoding=1, lang="eng", desc="", text="Own words"))
    for frame in itunes_frames():
        t.add(frame)
    t.save(path, v2_version=version, v23_sep="/")


def atom(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload


def full_atom(kind, version, flags, payload):
    return atom(kind, struct.pack(">I", version << 24 | flags) + payload)


def descriptor(tag, payload):
    return bytes([tag, len(payload)]) + payload


def m4a(path):
    """A minimal MP4 with one AAC track of silence, enough for TagLib and mutagen to read."""
    rate, seconds = 44100, 1
    asc = bytes([0x12, 0x10])  # AAC LC, 44.1 kHz, 2 channels
    decoder = descriptor(0x04, bytes([0x40, 0x15]) + b"\x00\x00\x00" + struct.pack(">II", 128000, 128000)
                         + descriptor(0x05, asc))
    es = descriptor(0x03, b"\x00\x01\x00" + decoder + descriptor(0x06, b"\x02"))
    mp4a = atom(b"mp4a", b"\x00" * 6 + struct.pack(">H", 1) + b"\x00" * 8
                + struct.pack(">HHHHI", 2, 16, 0, 0, rate << 16) + full_atom(b"esds", 0, 0, es))
    samples = [b"\x21\x00\x49\x90\x02\x19\x00\x23\x80"] * 43
    stbl = atom(b"stbl",
                full_atom(b"stsd", 0, 0, struct.pack(">I", 1) + mp4a)
                + full_atom(b"stts", 0, 0, struct.pack(">III", 1, len(samples), 1024))
                + full_atom(b"stsc", 0, 0, struct.pack(">IIII", 1, 1, len(samples), 1))
                + full_atom(b"stsz", 0, 0, struct.pack(">II", 0, len(samples))
                            + b"".join(struct.pack(">I", len(s)) for s in samples))
                + full_atom(b"stco", 0, 0, struct.pack(">II", 1, 0)))
    minf = atom(b"minf", full_atom(b"smhd", 0, 0, b"\x00" * 4)
                + atom(b"dinf", full_atom(b"dref", 0, 0, struct.pack(">I", 1)
                                          + full_atom(b"url ", 0, 1, b"")))
                + stbl)
    mdia = atom(b"mdia",
                full_atom(b"mdhd", 0, 0, struct.pack(">IIII", 0, 0, rate, rate * seconds) + b"\x55\xc4\x00\x00")
                + full_atom(b"hdlr", 0, 0, b"\x00" * 4 + b"soun" + b"\x00" * 12 + b"SoundHandler\x00")
                + minf)
    matrix = struct.pack(">9I", 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000)
    tkhd = full_atom(b"tkhd", 0, 7, struct.pack(">IIIII", 0, 0, 1, 0, 1000 * seconds) + b"\x00" * 8
                     + struct.pack(">HHHH", 0, 0, 0x0100, 0) + matrix + struct.pack(">II", 0, 0))
    mvhd = full_atom(b"mvhd", 0, 0, struct.pack(">IIII", 0, 0, 1000, 1000 * seconds)
                     + struct.pack(">IH", 0x10000, 0x0100) + b"\x00" * 10 + matrix + b"\x00" * 24
                     + struct.pack(">I", 2))
    moov = atom(b"moov", mvhd + atom(b"trak", tkhd + mdia))
    ftyp = atom(b"ftyp", b"M4A \x00\x00\x02\x00M4A mp42isom")
    mdat_offset = len(ftyp) + len(moov) + 8
    moov = moov.replace(struct.pack(">II", 1, 0) + b"", struct.pack(">II", 1, 0), 1)
    # The one chunk starts right after the mdat header.
    stco_old = full_atom(b"stco", 0, 0, struct.pack(">II", 1, 0))
    stco_new = full_atom(b"stco", 0, 0, struct.pack(">II", 1, mdat_offset))
    moov = moov.replace(stco_old, stco_new)
    with open(path, "wb") as f:
        f.write(ftyp + moov + atom(b"mdat", b"".join(samples)))
    f = MP4(path)
    f["\xa9nam"] = ["Old Title"]
    f["\xa9ART"] = ["Alpha", "Beta"]
    f["\xa9alb"] = ["The Album"]
    f["\xa9day"] = ["2011-03-14"]
    f["trkn"] = [(5, 12)]
    f["disk"] = [(1, 2)]
    f["\xa9gen"] = ["Rock"]
    f["\xa9cmt"] = ["Own words"]
    f["----:com.apple.iTunes:iTunNORM"] = [b" 00000A2B 00000B3C 00004E5F"]
    f.save()


def riff_info(path):
    """The fields of a WAV file's LIST INFO chunks, which mutagen does not read, as dump lines."""
    with open(path, "rb") as f:
        data = f.read()
    lines, at = [], 12
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if chunk == b"LIST" and data[at + 8:at + 12] == b"INFO":
            field, end = at + 12, at + 8 + size
            while field + 8 <= end:
                key, length = data[field:field + 4], struct.unpack("<I", data[field + 4:field + 8])[0]
                text = data[field + 8:field + 8 + length].rstrip(b"\0").decode("latin-1")
                lines.append(f"INFO:{key.decode()}={text!r}")
                field += 8 + length + length % 2
        at += 8 + size + size % 2
    return lines


def id3v22(source, path):
    """An MP3 with an ID3v2.2 tag as older programs wrote it: a title, and a full date held in a
    year frame and a day-month frame."""
    def frame(name, text):
        data = b"\x00" + text.encode("latin-1")
        return name + struct.pack(">I", len(data))[1:] + data
    frames = frame(b"TT2", "Old Title") + frame(b"TYE", "2010") + frame(b"TDA", "0304")
    size = len(frames)
    syncsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    with open(source, "rb") as s, open(path, "wb") as d:
        d.write(b"ID3\x02\x00\x00" + syncsafe + frames + s.read())


def dump(path):
    """Every tag key and value as mutagen reads them (and a WAV file's INFO fields), sorted, one
    per line."""
    f = mutagen.File(path)
    lines = riff_info(path) if path.endswith(".wav") else []
    for key in f.tags.keys() if f.tags else []:
        values = f.tags[key]
        if isinstance(f.tags, id3.ID3):
            values = [values.pprint()]  # the frame's text as a reader shows it, in any encoding
        elif not isinstance(values, list):
            values = [values]
        # An ASF file's content description holds its five texts whether set or not, and TagLib
        # writes an unset one as an empty text where mutagen leaves it out: both read as unset.
        values = [v for v in values if not (path.endswith(".wma") and str(v) == "")]
        lines += [f"{key}={value!r}" for value in values]
    return sorted(lines)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--dump":
        for name in sys.argv[2:]:
            print(f"== {name}")
            for line in dump(name):
                print(line)
        sys.exit(0)
    for name, cls, ext in (("flac", FLAC, "flac"), ("ogg", OggVorbis, "ogg")):
        import shutil
        shutil.copy(f"notag.{ext}", f"rich.{ext}")
        vorbis(f"rich.{ext}", cls, "05/12")
        shutil.copy(f"notag.{ext}", f"vinyl.{ext}")
        vorbis(f"vinyl.{ext}", cls, "A1")
    # tagged.flac as another program leaves it: a title fixed, a comment of its own, a second artist.
    shutil.copy("tagged.flac", "tagged-changed.flac")
    other = FLAC("tagged-changed.flac")
    other["TITLE"] = ["Fixed Title"]
    other["COMMENT"] = ["Their words"]
    other["ARTIST"] = ["Tagged Artist", "Guest"]
    other.save()
    mp3("notag.mp3", "rich-v23.mp3", 3, True)
    mp3("notag.mp3", "rich-v24.mp3", 4, False)
    m4a("rich.m4a")
    id3v22("notag.mp3", "id3v22-date.mp3")
    # An MP4 whose freeform item's name holds a URL, as some taggers write it.
    shutil.copy("rich.m4a", "freeform-url.m4a")
    freeform = MP4("freeform-url.m4a")
    freeform["----:com.apple.iTunes:http://example.org/rating"] = [b"5"]
    freeform.save()
