#!/usr/bin/env python3
"""Writes a music library shaped like a real collection, for the whole-program
benchmark: make_library.py FOLDER [--count 2000] [--seed 1]

34 % MP3, 20 % M4A, 10 % Ogg Vorbis, 16 % FLAC, 6 % Ogg Opus, 3 % each WAV,
WavPack, Monkey's Audio and WMA, 2 % AIFF, 100 KB to 1.5 MB each. MP3
files carry an ID3v2.3 tag in UTF-16 (title, artist, album, year, track "n/m",
genre, a COMM comment, a USLT of about 600 characters on 15 lines, a 30 KB
front cover on most) and an ID3v1 tag; the other formats carry the same values
in their own fields. Covers are a few dozen distinct JPEG pictures, one per
album, made by cjpeg. Names hold spaces, quotes and non-ASCII characters.
"""

import argparse
import base64
import os
import random
import struct
import subprocess
import tempfile

SMALLEST = 100 * 1024
LARGEST = 1536 * 1024
ALBUMS = 40
COVER_SHARE = 0.85
MIX = [("mp3", 34), ("m4a", 20), ("ogg", 10), ("flac", 16), ("opus", 6), ("wav", 3), ("aiff", 2),
       ("wv", 3), ("ape", 3), ("wma", 3)]

WORDS = ["Blue", "Night", "River", "Golden", "Echo", "Summer", "Stone", "Light",
         "Café", "Señor", "Über", "Ørsted", "Naïve", "Fjörd", "Zoë", "Åse"]
ARTISTS = ["Les Étoiles", "The \"Quoted\" Band", "O'Brien & Sons", "Björk Ensemble",
           "Ñandú", "Zürich Strings", "Mötley Tones", "Plain Artist"]
GENRES = ["Rock", "Jazz", "Pop", "Classical", "Electronic", "Folk"]


def cover_pictures(count, rng):
    """Distinct baseline JPEGs of about 30 KB: noise over a gradient."""
    pictures = []
    with tempfile.TemporaryDirectory() as work:
        for index in range(count):
            width = height = 240
            pixels = bytearray()
            for y in range(height):
                for x in range(width):
                    noise = rng.randrange(56)
                    pixels += bytes(((x + index * 7) % 200 + noise, (y * 3) % 200 + noise,
                                     (x + y + index * 13) % 200 + noise))
            ppm = os.path.join(work, "cover.ppm")
            with open(ppm, "wb") as out:
                out.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(pixels))
            jpeg = subprocess.run(["cjpeg", "-quality", "90", ppm], check=True,
                                  capture_output=True).stdout
            pictures.append(jpeg)
    return pictures


class Track:
    def __init__(self, rng, index, pictures):
        album = rng.randrange(ALBUMS)
        self.title = " ".join(rng.choice(WORDS) for _ in range(3))
        self.artist = ARTISTS[album % len(ARTISTS)]
        self.album = "Album “%s” %d" % (WORDS[album % len(WORDS)], album)
        self.year = str(1960 + album)
        self.track = "%d/%d" % (1 + index % 12, 12)
        self.genre = GENRES[album % len(GENRES)]
        self.album_artist = "Various Artists" if album % 5 == 0 else self.artist
        self.composer = ARTISTS[(album + 3) % len(ARTISTS)]
        self.comment = "Ripped from the original CD, track %d. Notes: ‘live’ take." % index
        lines = ["Line %02d of the song, la la la, “sing” along — %s" % (n, self.title)
                 for n in range(15)]
        self.lyrics = "\r\n".join(line[:38].ljust(38, ".") for line in lines)
        self.cover = pictures[album] if rng.random() < COVER_SHARE else None
        self.size = rng.randrange(SMALLEST, LARGEST)
        self.folder = "%02d - %s" % (album, self.album)
        self.name = "%04d - %s - %s" % (index, self.artist.replace("/", "-"), self.title)


# MP3 -----------------------------------------------------------------------

def id3_frame(frame_id, body):
    return frame_id.encode() + struct.pack(">I", len(body)) + b"\0\0" + body


def utf16(text):
    return b"\xff\xfe" + text.encode("utf-16-le")


def id3v2(track):
    frames = b""
    for frame_id, text in (("TIT2", track.title), ("TPE1", track.artist),
                           ("TALB", track.album), ("TYER", track.year),
                           ("TRCK", track.track), ("TCON", track.genre),
                           ("TPE2", track.album_artist), ("TPOS", "1/1"),
                           ("TCOM", track.composer)):
        frames += id3_frame(frame_id, b"\x01" + utf16(text))
    # Encoding, language, empty description (a byte-order mark and its NUL).
    frames += id3_frame("COMM", b"\x01eng" + utf16("") + b"\0\0" + utf16(track.comment))
    frames += id3_frame("USLT", b"\x01eng" + utf16("") + b"\0\0" + utf16(track.lyrics))
    if track.cover:
        frames += id3_frame("APIC", b"\x00image/jpeg\x00\x03\x00" + track.cover)
    padding = 2048
    size = len(frames) + padding
    syncsafe = bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))
    return b"ID3\x03\x00\x00" + syncsafe + frames + b"\0" * padding


def latin1(text, width):
    return text.encode("latin-1", "replace")[:width].ljust(width, b"\0")


def id3v1(track):
    number = int(track.track.split("/")[0])
    return (b"TAG" + latin1(track.title, 30) + latin1(track.artist, 30) +
            latin1(track.album, 30) + latin1(track.year, 4) + latin1(track.comment, 28) +
            bytes((0, number, 17)))


FRAME = 417  # MPEG-1 Layer III, 128 kbit/s, 44100 Hz


def mpeg_audio(size, noise):
    frames = max(2, size // FRAME)
    return noise[:frames * FRAME]


def make_mp3(track, noise):
    tag = id3v2(track)
    return tag + mpeg_audio(max(0, track.size - len(tag)), noise) + id3v1(track)


# M4A -----------------------------------------------------------------------

def atom(kind, body):
    return struct.pack(">I", 8 + len(body)) + kind + body


def data_item(kind, type_code, value):
    return atom(kind, atom(b"data", struct.pack(">II", type_code, 0) + value))


def make_m4a(track, noise):
    number, total = (int(part) for part in track.track.split("/"))
    items = [data_item(b"\xa9nam", 1, track.title.encode()),
             data_item(b"\xa9ART", 1, track.artist.encode()),
             data_item(b"\xa9alb", 1, track.album.encode()),
             data_item(b"\xa9day", 1, track.year.encode()),
             data_item(b"\xa9gen", 1, track.genre.encode()),
             data_item(b"trkn", 0, struct.pack(">HHHH", 0, number, total, 0)),
             data_item(b"\xa9cmt", 1, track.comment.encode()),
             data_item(b"\xa9lyr", 1, track.lyrics.encode()),
             data_item(b"aART", 1, track.album_artist.encode()),
             data_item(b"disk", 0, struct.pack(">HHH", 0, 1, 1)),
             data_item(b"\xa9wrt", 1, track.composer.encode())]
    if track.cover:
        items.append(data_item(b"covr", 13, track.cover))
    handler = atom(b"hdlr", b"\0" * 8 + b"mdirappl" + b"\0" * 9)
    meta = atom(b"meta", b"\0\0\0\0" + handler + atom(b"ilst", b"".join(items)))
    udta = atom(b"udta", meta)
    seconds = max(1, track.size // 16000)
    tkhd = atom(b"tkhd", b"\0\0\0\x07" + b"\0" * 80)
    mdhd = atom(b"mdhd", b"\0" * 12 + struct.pack(">II", 44100, 44100 * seconds) + b"\0" * 4)
    entry = (struct.pack(">I", 36) + b"mp4a" + b"\0" * 6 + struct.pack(">H", 1) + b"\0" * 8 +
             struct.pack(">HHHH", 2, 16, 0, 0) + struct.pack(">I", 44100 << 16))
    stsd = atom(b"stsd", b"\0" * 4 + struct.pack(">I", 1) + entry)
    stbl = atom(b"stbl", stsd)
    minf = atom(b"minf", stbl)
    mdia = atom(b"mdia", mdhd + atom(b"hdlr", b"\0" * 8 + b"soun" + b"\0" * 13) + minf)
    trak = atom(b"trak", tkhd + mdia)
    mvhd = atom(b"mvhd", b"\0" * 12 + struct.pack(">II", 44100, 44100 * seconds) + b"\0" * 80)
    moov = atom(b"moov", mvhd + trak + udta)
    ftyp = atom(b"ftyp", b"M4A \0\0\0\0M4A mp42isom")
    head = ftyp + moov
    return head + atom(b"mdat", noise[:max(0, track.size - len(head) - 8)])


# Vorbis comments, Ogg, FLAC --------------------------------------------------

def flac_picture(picture):
    mime = b"image/jpeg"
    return (struct.pack(">II", 3, len(mime)) + mime + struct.pack(">I", 0) +
            struct.pack(">IIIII", 240, 240, 24, 0, len(picture)) + picture)


def vorbis_comments(track, with_picture_field, vendor=b"Reference libVorbis I 20200704"):
    number = track.track.split("/")[0]
    fields = [("TITLE", track.title), ("ARTIST", track.artist), ("ALBUM", track.album),
              ("DATE", track.year), ("TRACKNUMBER", number), ("TRACKTOTAL", "12"),
              ("GENRE", track.genre), ("COMMENT", track.comment), ("LYRICS", track.lyrics),
              ("ALBUMARTIST", track.album_artist), ("DISCNUMBER", "1/1"),
              ("COMPOSER", track.composer)]
    entries = [("%s=%s" % field).encode() for field in fields]
    if track.cover and with_picture_field:
        entries.append(b"METADATA_BLOCK_PICTURE=" +
                       base64.b64encode(flac_picture(track.cover)))
    body = struct.pack("<I", len(vendor)) + vendor + struct.pack("<I", len(entries))
    for entry in entries:
        body += struct.pack("<I", len(entry)) + entry
    return body


def crc_table():
    table = []
    for index in range(256):
        value = index << 24
        for _ in range(8):
            value = ((value << 1) ^ 0x04C11DB7) if value & 0x80000000 else value << 1
        table.append(value & 0xFFFFFFFF)
    return table


CRC = crc_table()


def ogg_crc(data):
    value = 0
    for byte in data:
        value = ((value << 8) & 0xFFFFFFFF) ^ CRC[((value >> 24) ^ byte) & 0xFF]
    return value


def ogg_pages(packet, serial, sequence, first_flags, granule, checksum=True):
    """The packet over as many pages as it needs, 255 segments a page."""
    pages = []
    segments = [255] * (len(packet) // 255) + [len(packet) % 255]
    offset = 0
    flags = first_flags
    while segments:
        lacing, segments = segments[:255], segments[255:]
        body = packet[offset:offset + sum(lacing)]
        offset += sum(lacing)
        header = (b"OggS\0" + bytes((flags,)) + struct.pack("<qIII", granule, serial, sequence, 0)
                  + bytes((len(lacing),)) + bytes(lacing))
        page = header + body
        if checksum:
            page = page[:22] + struct.pack("<I", ogg_crc(page)) + page[26:]
        pages.append(page)
        sequence += 1
        flags = 1  # continued packet
    return b"".join(pages), sequence


def make_ogg(track, noise):
    serial = 0x5EED
    identification = (b"\x01vorbis" + struct.pack("<IBIiii", 0, 2, 44100, 0, 160000, 0) +
                      b"\xb8\x01")
    comment = b"\x03vorbis" + vorbis_comments(track, True) + b"\x01"
    setup = b"\x05vorbis" + noise[:3000]
    first, sequence = ogg_pages(identification, serial, 0, 2, 0)
    out = bytearray(first)
    pages, sequence = ogg_pages(comment, serial, sequence, 0, 0)
    out += pages
    pages, sequence = ogg_pages(setup, serial, sequence, 0, 0)
    out += pages
    granule = 0
    position = 0
    while len(out) < track.size:
        chunk = noise[position:position + 16 * 255]
        position += len(chunk)
        granule += 44100
        pages, sequence = ogg_pages(chunk[:-1], serial, sequence, 0, granule, False)
        out += pages
    return bytes(out)


def make_flac(track, noise):
    seconds = max(1, track.size // 88000)
    stream = (struct.pack(">HH", 4096, 4096) + b"\0\x10\0\0\x40\0" +
              struct.pack(">Q", (44100 << 44) | (1 << 41) | (15 << 36) | (44100 * seconds)) +
              b"\0" * 16)
    blocks = [(0, stream), (4, vorbis_comments(track, False))]
    if track.cover:
        blocks.append((6, flac_picture(track.cover)))
    blocks.append((1, b"\0" * 4096))
    out = b"fLaC"
    for index, (kind, body) in enumerate(blocks):
        last = 0x80 if index == len(blocks) - 1 else 0
        out += bytes((last | kind,)) + struct.pack(">I", len(body))[1:] + body
    return out + noise[:max(0, track.size - len(out))]


def make_opus(track, noise):
    serial = 0x0905
    head = b"OpusHead" + struct.pack("<BBHIhB", 1, 2, 312, 44100, 0, 0)
    tags = b"OpusTags" + vorbis_comments(track, True, b"libopus 1.3.1")
    first, sequence = ogg_pages(head, serial, 0, 2, 0)
    out = bytearray(first)
    pages, sequence = ogg_pages(tags, serial, sequence, 0, 0)
    out += pages
    granule = 312
    position = 0
    while len(out) < track.size:
        chunk = noise[position:position + 16 * 255]
        position += len(chunk)
        granule += 12000  # a quarter second a page, about 128 kbit/s
        pages, sequence = ogg_pages(chunk[:-1], serial, sequence, 0, granule, False)
        out += pages
    return bytes(out)


def riff_chunk(kind, body, order="<"):
    return kind + struct.pack(order + "I", len(body)) + body + b"\0" * (len(body) % 2)


def make_wav(track, noise):
    fmt = struct.pack("<HHIIHH", 1, 2, 44100, 44100 * 4, 4, 16)
    info = b"INFO" + b"".join(
        riff_chunk(kind, text.encode("latin-1", "replace") + b"\0")
        for kind, text in ((b"INAM", track.title), (b"IART", track.artist), (b"IPRD", track.album),
                           (b"ICRD", track.year), (b"IGNR", track.genre), (b"ITRK", track.track)))
    head = riff_chunk(b"fmt ", fmt) + riff_chunk(b"LIST", info) + riff_chunk(b"id3 ", id3v2(track))
    # Silence: PCM noise holding MPEG frame headers would pass for MP3 audio.
    data = bytes(max(4, track.size - len(head) - 20) // 4 * 4)
    body = b"WAVE" + head + riff_chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def extended_80(value):
    """An integer as the 80-bit extended-precision number of an AIFF COMM chunk."""
    exponent = value.bit_length() - 1
    return struct.pack(">HQ", 16383 + exponent, value << (63 - exponent))


def make_aiff(track, noise):
    frames = max(1, (track.size - 4096) // 4)
    comm = struct.pack(">hIh", 2, frames, 16) + extended_80(44100)
    tag = id3v2(track)
    sound = struct.pack(">II", 0, 0) + bytes(frames * 4)
    body = (b"AIFF" + riff_chunk(b"COMM", comm, ">") + riff_chunk(b"SSND", sound, ">") +
            riff_chunk(b"ID3 ", tag, ">"))
    return b"FORM" + struct.pack(">I", len(body)) + body


def ape_item(key, value, binary=False):
    return struct.pack("<II", len(value), 2 if binary else 0) + key.encode() + b"\0" + value


def apev2(track):
    items = [ape_item(key, value.encode()) for key, value in (
        ("Title", track.title), ("Artist", track.artist), ("Album", track.album),
        ("Year", track.year), ("Track", track.track), ("Genre", track.genre),
        ("Comment", track.comment), ("Lyrics", track.lyrics), ("Album Artist", track.album_artist),
        ("Disc", "1/1"), ("Composer", track.composer))]
    if track.cover:
        items.append(ape_item("Cover Art (Front)", b"cover.jpg\0" + track.cover, True))
    body = b"".join(items)

    def frame(flags):
        return b"APETAGEX" + struct.pack("<IIII", 2000, len(body) + 32, len(items), flags) + b"\0" * 8
    return frame(0xA0000000) + body + frame(0x80000000)


def make_wavpack(track, noise):
    tag = apev2(track)
    audio = noise[:max(64, track.size - len(tag) - 32)]
    samples = len(audio) * 2
    # 16-bit stereo at 44100 Hz (rate index 9), one block holding every sample.
    flags = 1 | (9 << 23)
    header = b"wvpk" + struct.pack("<IHBBIIIII", 24 + len(audio), 0x410, 0, 0, samples, 0,
                                   samples, flags, 0)
    return header + audio + tag


def make_ape(track, noise):
    tag = apev2(track)
    audio = noise[:max(64, track.size - len(tag) - 76)]
    blocks_per_frame = 73728
    total = max(1, len(audio) * 3)
    frames = (total + blocks_per_frame - 1) // blocks_per_frame
    final = total - (frames - 1) * blocks_per_frame
    descriptor = b"MAC " + struct.pack("<HHIIIIIII", 3990, 0, 52, 24, 0, 0, len(audio), 0, 0)
    descriptor += b"\0" * 16
    header = struct.pack("<HHIIIHHI", 2000, 0, blocks_per_frame, final, frames, 16, 2, 44100)
    return descriptor + header + audio + tag


def guid(text):
    import uuid
    return uuid.UUID(text).bytes_le


def asf_object(kind, body):
    return guid(kind) + struct.pack("<Q", 24 + len(body)) + body


def wide(text):
    return (text + "\0").encode("utf-16-le")


def make_wma(track, noise):
    audio = noise[:max(64, track.size - 8192)]
    seconds = max(1, len(audio) // 16000)
    file_properties = asf_object("8cabdca1-a947-11cf-8ee4-00c00c205365",
                                 b"\0" * 16 + struct.pack("<QQQQQQIIII", 0, 0, 0,
                                                           seconds * 10**7 + 3 * 10**7,
                                                           seconds * 10**7, 3000, 2, 3200, 3200,
                                                           128000))
    wave_format = struct.pack("<HHIIHHH", 0x161, 2, 44100, 16000, 2973, 16, 0)
    stream = asf_object("b7dc0791-a9b7-11cf-8ee6-00c00c205365",
                        guid("f8699e40-5b4d-11cf-a8fd-00805f5c442b") +
                        guid("bfc3cd50-618f-11cf-8bb2-00aa00b4e220") +
                        struct.pack("<QIIHI", 0, len(wave_format), 0, 1, 0) + wave_format)
    texts = [wide(track.title), wide(track.artist), wide(""), wide(track.comment), wide("")]
    content = asf_object("75b22633-668e-11cf-a6d9-00aa0062ce6c",
                         struct.pack("<5H", *(len(t) for t in texts)) + b"".join(texts))
    attributes = [("WM/AlbumTitle", 0, wide(track.album)), ("WM/Year", 0, wide(track.year)),
                  ("WM/Genre", 0, wide(track.genre)),
                  ("WM/TrackNumber", 3, struct.pack("<I", int(track.track.split("/")[0]))),
                  ("WM/Lyrics", 0, wide(track.lyrics)), ("WM/AlbumArtist", 0, wide(track.album_artist)),
                  ("WM/PartOfSet", 0, wide("1/1")), ("WM/Composer", 0, wide(track.composer))]
    if track.cover:
        picture = (b"\x03" + struct.pack("<I", len(track.cover)) + wide("image/jpeg") + wide("") +
                   track.cover)
        attributes.append(("WM/Picture", 1, picture))
    extended = struct.pack("<H", len(attributes)) + b"".join(
        struct.pack("<H", len(wide(name))) + wide(name) + struct.pack("<HH", kind, len(value)) + value
        for name, kind, value in attributes)
    objects = [file_properties, stream, content,
               asf_object("d2d0a440-e307-11d2-97f0-00a0c95ea850", extended)]
    header = asf_object("75b22630-668e-11cf-a6d9-00aa0062ce6c",
                        struct.pack("<IBB", len(objects), 1, 2) + b"".join(objects))
    data = asf_object("75b22636-668e-11cf-a6d9-00aa0062ce6c",
                      b"\0" * 16 + struct.pack("<QBB", 0, 1, 1) + audio)
    return header + data


MAKERS = {"mp3": make_mp3, "m4a": make_m4a, "ogg": make_ogg, "flac": make_flac,
          "opus": make_opus, "wav": make_wav, "aiff": make_aiff, "wv": make_wavpack,
          "ape": make_ape, "wma": make_wma}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    pictures = cover_pictures(ALBUMS, rng)
    # MPEG frame headers every frame; the other formats take the noise as it is.
    noise = bytearray(rng.randbytes(LARGEST + 4096))
    for start in range(0, len(noise) - 4, FRAME):
        noise[start:start + 4] = b"\xff\xfb\x90\x64"
    noise = bytes(noise)
    kinds = [kind for kind, share in MIX for _ in range(share)]
    for index in range(args.count):
        track = Track(rng, index, pictures)
        kind = kinds[index % len(kinds)]
        folder = os.path.join(args.folder, track.folder)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, track.name + "." + kind), "wb") as out:
            out.write(MAKERS[kind](track, noise))
    print("%d files in %s" % (args.count, args.folder))


if __name__ == "__main__":
    main()
