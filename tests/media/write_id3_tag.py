#!/usr/bin/python3
"""Writes an ID3v2 tag with mutagen, an independent tagger, for the tag reader's tests and the
fuzz corpus.

usage: write_id3_tag.py FILE VERSION ENCODING PADDING FRAME...
  VERSION 3, 4, or 4plain for a 2.4 tag whose frame sizes are then rewritten as plain 32-bit
  numbers, as some taggers write them; ENCODING 0 Latin-1, 1 UTF-16, 2 UTF-16BE, 3 UTF-8; PADDING in bytes.
  FRAME is ID=VALUE: a text frame ("TIT2=Title"), COMM=description|text, WXXX=description|url,
  TXXX=description|text, PCNT=count, or APIC=number of picture bytes.
FILE must exist; the tag goes in front of what it holds. Prints the tag's size without its
10-byte header, as mutagen reads it back.
"""
import sys

from mutagen.id3 import APIC, COMM, ID3, PCNT, TXXX, WXXX, Frames


def frame(argument, encoding):
    name, _, value = argument.partition("=")
    first, _, second = value.partition("|")
    if name == "COMM":
        return COMM(encoding=encoding, lang="eng", desc=first, text=[second])
    if name == "WXXX":
        return WXXX(encoding=encoding, desc=first, url=second)
    if name == "TXXX":
        return TXXX(encoding=encoding, desc=first, text=[second])
    if name == "PCNT":
        return PCNT(count=int(value))
    if name == "APIC":
        size = int(value)
        return APIC(encoding=encoding, mime="image/png", type=3, desc="Cover",
                    data=bytes(i * 7 % 256 for i in range(size)))
    return Frames[name](encoding=encoding, text=[value])


def sync_safe(four):
    return (four[0] << 21) | (four[1] << 14) | (four[2] << 7) | four[3]


def write_plain_frame_sizes(path):
    with open(path, "r+b") as file:
        data = bytearray(file.read())
        end = 10 + sync_safe(data[6:10])
        at = 10
        while at + 10 <= end and data[at] != 0:
            size = sync_safe(data[at + 4:at + 8])
            data[at + 4:at + 8] = size.to_bytes(4, "big")
            at += 10 + size
        file.seek(0)
        file.write(data)


def main():
    path, version, encoding, padding, *frames = sys.argv[1:]
    plain = version == "4plain"
    version = version[:1]
    tag = ID3()
    for argument in frames:
        tag.add(frame(argument, int(encoding)))
    # mutagen turns frames into those of the version it writes (TDRC into TYER) only when asked.
    if version == "3":
        tag.update_to_v23()
    else:
        tag.update_to_v24()
    tag.save(path, v1=0, v2_version=int(version), padding=lambda info: int(padding))
    if plain:
        write_plain_frame_sizes(path)
    print(ID3(path).size - 10)


if __name__ == "__main__":
    main()
