"""Makes a fixture of every further format family the program saves, each with a full date, a
track total, two artists, a comment and a field the program does not know: Opus, WMA, WAV (RIFF
INFO, and ID3), AIFF, WavPack, Monkey's Audio and Musepack; and MP3s whose tags TagLib would lose:
APEv2 beside ID3v1 without ID3v2, ID3v1 alone, and ID3v2.3 with frames ID3v2.4 dropped. Run in the
fixture folder, with tone.wav and notag.mp3 there; needs ffmpeg, mpcenc and python3-mutagen."""
import shutil
import struct
import subprocess

from mutagen import id3
from mutagen.aiff import AIFF
from mutagen.apev2 import APEv2
from mutagen.asf import ASF
from mutagen.oggopus import OggOpus
from mutagen.wave import WAVE

from make_rich_fixtures import VORBIS

ALBUM_ID = "6f1d7f43-0000-4000-8000-000000000001"


def encode(args, out):
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", "tone.wav", *args, out], check=True)


def ape_items(path):
    t = APEv2()
    for key, value in (("Title", "Old Title"), ("Artist", ["Alpha", "Beta"]),
                       ("Album", "The Album"), ("Year", "2011-03-14"), ("Track", "5/12"),
                       ("Genre", "Rock"), ("Comment", "Own words"),
                       ("MUSICBRAINZ_ALBUMID", ALBUM_ID)):
        t[key] = value
    t.save(path)


def id3_frames(tags):
    tags.add(id3.TIT2(encoding=1, text="Old Title"))
    tags.add(id3.TPE1(encoding=1, text=["Alpha", "Beta"]))
    tags.add(id3.TALB(encoding=1, text="The Album"))
    tags.add(id3.TDRC(encoding=1, text="2011-03-14"))
    tags.add(id3.TRCK(encoding=1, text="5/12"))
    tags.add(id3.TCON(encoding=1, text="Rock"))
    tags.add(id3.COMM(encoding=1, lang="eng", desc="", text="Own words"))
    tags.add(id3.TXXX(encoding=1, desc="MusicBrainz Album Id", text=ALBUM_ID))


def riff_info(path):
    """Appends a LIST INFO chunk: one artist text, since INFO holds one value a field."""
    fields = [(b"INAM", "Old Title"), (b"IART", "Alpha; Beta"), (b"IPRD", "The Album"),
              (b"ICRD", "2011-03-14"), (b"IPRT", "5/12"), (b"IGNR", "Rock"),
              (b"ICMT", "Own words"), (b"ISFT", "Fixture maker")]
    body = b"INFO"
    for key, text in fields:
        data = text.encode("latin-1") + b"\0"
        body += key + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    with open(path, "r+b") as f:
        f.seek(0, 2)
        f.write(b"LIST" + struct.pack("<I", len(body)) + body)
        size = f.tell() - 8
        f.seek(4)
        f.write(struct.pack("<I", size))


def monkeys_audio(path):
    """A Monkey's Audio header (version 3.99) over silent frames, enough for the tag readers."""
    descriptor = b"MAC " + struct.pack("<HH7I16s", 3990, 0, 52, 24, 4, 0, 4096, 0, 0, b"\0" * 16)
    header = struct.pack("<HHIIIHHI", 2000, 0, 73728, 44100, 1, 16, 2, 44100)
    with open(path, "wb") as f:
        f.write(descriptor + header + b"\0" * 4 + b"\0" * 4096)
    ape_items(path)


def id3v1(title, artist, album, year, comment, track, genre):
    text = lambda s, n: s.encode("latin-1")[:n].ljust(n, b"\0")
    return (b"TAG" + text(title, 30) + text(artist, 30) + text(album, 30) + text(year, 4)
            + text(comment, 28) + b"\0" + bytes([track, genre]))


def frame23(frame_id, data):
    return frame_id + struct.pack(">I", len(data)) + b"\0\0" + data


def dropped_v23(path):
    """An ID3v2.3 tag with the volume, equaliser, recording date and size frames."""
    frames = (frame23(b"TIT2", b"\0Old Title") + frame23(b"TPE1", b"\0Alpha")
              + frame23(b"TYER", b"\x002011")
              + frame23(b"RVAD", b"\x03\x10\x01\x00\x01\x00\x00\x00\x00")
              + frame23(b"EQUA", b"\x10\x00\x40\x01\x00")
              + frame23(b"TRDA", b"\0March 14-15, 2011") + frame23(b"TSIZ", b"\x001234567"))
    frames += b"\0" * 64  # padding
    size = len(frames)
    synchsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    with open("notag.mp3", "rb") as f:
        audio = f.read()
    with open(path, "wb") as f:
        f.write(b"ID3\x03\x00\x00" + synchsafe + frames + audio)


def main():
    encode(["-c:a", "libopus", "-b:a", "64k"], "fmt.opus")
    f = OggOpus("fmt.opus")
    f.delete()
    for key, values in VORBIS.items():
        f[key] = values
    f.save()

    encode(["-c:a", "wmav2", "-b:a", "64k"], "fmt.wma")
    f = ASF("fmt.wma")
    f.tags.clear()
    for key, value in (("Title", "Old Title"), ("Author", ["Alpha", "Beta"]),
                       ("WM/AlbumTitle", "The Album"), ("WM/Year", "2011-03-14"),
                       ("WM/TrackNumber", "5"), ("TotalTracks", "12"), ("WM/Genre", "Rock"),
                       ("Description", "Own words"), ("MusicBrainz/Album Id", ALBUM_ID)):
        f[key] = value if isinstance(value, list) else [value]
    f.save()

    shutil.copy("tone.wav", "fmt-info.wav")
    riff_info("fmt-info.wav")
    shutil.copy("tone.wav", "fmt-id3.wav")
    f = WAVE("fmt-id3.wav")
    f.add_tags()
    id3_frames(f.tags)
    f.save(v2_version=3, v23_sep="/")

    encode(["-c:a", "pcm_s16be"], "fmt.aiff")
    f = AIFF("fmt.aiff")
    f.add_tags()
    id3_frames(f.tags)
    f.save(v2_version=4)

    encode(["-c:a", "wavpack"], "fmt.wv")
    ape_items("fmt.wv")
    subprocess.run(["mpcenc", "--silent", "--overwrite", "tone.wav", "fmt.mpc"], check=True,
                   stderr=subprocess.DEVNULL)
    ape_items("fmt.mpc")
    monkeys_audio("fmt.ape")

    # APEv2 holds the whole values; the ID3v1 tag after it holds them cut, as old players wrote.
    shutil.copy("notag.mp3", "ape-id3v1.mp3")
    t = APEv2()
    t["Title"] = "A Very Long Song Title Beyond Thirty Characters"
    t["Artist"] = "An Artist Whose Name Is Long Too"
    t["Album"] = "The Album"
    t["Year"] = "1999"
    t["Genre"] = "Indie Rock"
    t["Comment"] = "A comment longer than twenty-eight characters"
    t.save("ape-id3v1.mp3")
    with open("ape-id3v1.mp3", "ab") as f:
        f.write(id3v1("A Very Long Song Title Beyond Thirty Characters",
                      "An Artist Whose Name Is Long Too", "The Album", "1999",
                      "A comment longer than twenty-eight characters", 3, 255))
    shutil.copy("notag.mp3", "id3v1.mp3")
    with open("id3v1.mp3", "ab") as f:
        f.write(id3v1("Short Title", "Band", "Record", "1999", "Words", 3, 17))
    dropped_v23("dropped-v23.mp3")


if __name__ == "__main__":
    main()
