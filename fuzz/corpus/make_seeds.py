#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora next to this script: a few small, valid inputs per target,
each reaching a different path, from which the fuzzer mutates. Run it again after changing it."""
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent


def write(target, name, data):
    folder = HERE / target
    folder.mkdir(exist_ok=True)
    (folder / name).write_bytes(data)


def archive(entries):
    """A "ZARC" image; an entry whose data is None is a disk entry (stored size 0)."""
    index, blobs = b"", b""
    offset = 8 + 64 * len(entries)
    for name, data in entries:
        if data is None:
            index += struct.pack("<III52s", 0, 0, 0, name.encode("cp932"))
            continue
        stream = zlib.compress(data, 9)
        index += struct.pack("<III52s", offset + len(blobs), len(stream), len(data), name.encode("cp932"))
        blobs += stream
    return b"ZARC" + struct.pack("<I", len(entries)) + index + blobs


def zfil(data, name=b"", level=9):
    stream = zlib.compress(data, level)
    return b"ZFIL" + struct.pack("<II52s", len(stream), len(data), name) + stream


def bitmap(width, height, bits, colours=0, compression=0, masks=b""):
    stride = (width * bits + 31) // 32 * 4
    table = bytes(i & 0xFF for i in range(4 * colours))
    rows = bytes((i * 7) & 0xFF for i in range(stride * abs(height)))
    offset = 14 + 40 + len(masks) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(rows), 0, 0, colours, 0)
    return header + info + masks + table + rows


def chunk_file(form, chunks, extra=b""):
    body = b"".join(cid + struct.pack("<I", 8 + len(data)) + data for cid, data in chunks)
    return b"FORM" + struct.pack("<I", 12 + len(body)) + form + body + extra


def script(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


SCRIPT = [
    "", "//インストールスクリプト",
    r"#G=.Default\Software\CORVANE\QUILLFEN", r"#P=C:\Program Files\Corvane\Quillfen", "#T=Quillfen",
    "#E=Quillfen.exe", "#R=readme.txt", r"#S=Corvane\Quillfen", "#M=ReadMeを読む", "#N=Quillfen",
    "#U=uninstall.exe", "#D=1", "#I=Quillfen.exe", "#I=readme.txt",
]


def main():
    text = "#T=Quillfen\r\n#I=readme.txt\r\n".encode()
    write("archive", "three-entries", archive([("setup.txt", text), ("readme.txt", b"read me " * 40),
                                               ("setup256.bmp", bitmap(4, 3, 8, 256))]))
    write("archive", "disk-entry-and-duplicate", archive([("setup.txt", None), ("a", b"first"), ("a", b"second")]))
    write("archive", "empty", archive([]))

    write("zfil", "text", zfil(b"hello, world\r\n" * 20, b"hello.txt"))
    write("zfil", "empty", zfil(b"", level=1))
    write("zfil", "raw", b"not compressed\r\n")

    write("script", "demo", script(SCRIPT))
    write("script", "every-command", script([
        r"#P=C:\Games\Product", "#F=data", r"#I=data\payload.bin", "#C=payload.bin,copy.bin",
        "#H=tree,tree-copy", "#X=flag.txt,1,2", "#Z=1", "#I=skipped", "#Z=0", "#X=empty.txt", "#D=-5",
        "#g=lower case", "#A=unknown", "#E", "last line without a break"]).rstrip(b"\r\n"))

    write("chunk_file", "old-saved-data", chunk_file(b"ZIML", [
        (b"KTBL", b"key table"), (b"XTRA", b"dropped"), (b"RNKS", b"ranks"), (b"OPTN", b"o"), (b"KTBL", b"again")]))
    write("chunk_file", "odd-lengths", chunk_file(b"RNKS", [(b"KTBL", b"abc"), (b"EMPT", b""), (b"OPTN", b"12345")],
                                                  extra=b"after the end"))
    write("chunk_file", "header-only", chunk_file(b"ZIML", []))

    write("picture", "8-bit", bitmap(5, 3, 8, 256))
    write("picture", "24-bit-top-down", bitmap(3, -2, 24))
    write("picture", "16-bit-masks", bitmap(2, 2, 16, compression=3, masks=struct.pack("<III", 0xF800, 0x7E0, 0x1F)))
    write("picture", "1-bit-two-colours", bitmap(9, 2, 1, 2))


if __name__ == "__main__":
    main()
