#!/usr/bin/env python3
"""Makes test packages with Python's zlib instead of zarc, so the reader and `zarc test` are
checked against a second producer.

Writes, beside this script:
  independent/*            the original files
  independent.zarc         an archive of them: streams at zlib levels 0, 1, 6 and 9, stored in
                           reverse order with filler between them (the reader needs only the
                           offsets), and one external record
  independent_level1.zfil  random.bin at level 1
  independent_level9.zfil  hello.txt at level 9
The output is the same on every run.
"""
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def originals():
    rng = random.Random(20240531)
    text = "".join("line %d of the readme\r\n" % i for i in range(400))
    return [
        # (entry name as code page 932 bytes, file name of the original, data, zlib level)
        (b"hello.txt", "hello.txt", b"Hello from another zlib.\r\n", 9),
        (b"zeros.bin", "zeros.bin", bytes(100000), 9),
        (b"random.bin", "random.bin", bytes(rng.getrandbits(8) for _ in range(40000)), 1),
        (b"readme.txt", "readme.txt", text.encode("ascii"), 6),
        ("同意書.txt".encode("cp932"), "licence.txt",
         "この製品の使用許諾に同意します。\r\n".encode("cp932"), 0),
        (b"empty.txt", "empty.txt", b"", 9),
    ]


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def record(offset, stored, full, name):
    assert len(name) <= 51 and b"/" not in name
    return struct.pack("<III", offset, stored, full) + name.ljust(52, b"\0")


def archive(entries):
    external = b"ext.dat"
    count = len(entries) + 1
    index_end = 8 + 64 * count
    streams = [zlib.compress(data, level) for _, _, data, level in entries]
    # Streams in reverse order, each after 7 bytes of filler.
    offsets = [0] * len(entries)
    body = b""
    for i in reversed(range(len(entries))):
        body += b"\xAA" * 7
        offsets[i] = index_end + len(body)
        body += streams[i]
    index = b"".join(record(offsets[i], len(streams[i]), len(e[2]), e[0])
                     for i, e in enumerate(entries))
    index += record(0, 0, 0, external)
    return b"ZARC" + struct.pack("<I", count) + index + body


def zfil(name, data, level):
    stream = zlib.compress(data, level)
    return b"ZFIL" + struct.pack("<II", len(stream), len(data)) + name.ljust(52, b"\0") + stream


def main():
    entries = originals()
    for _, file_name, data, _ in entries:
        write(os.path.join("independent", file_name), data)
    write("independent.zarc", archive(entries))
    by_name = {e[0]: e for e in entries}
    write("independent_level1.zfil", zfil(b"random.bin", by_name[b"random.bin"][2], 1))
    write("independent_level9.zfil", zfil(b"hello.txt", by_name[b"hello.txt"][2], 9))


if __name__ == "__main__":
    main()
