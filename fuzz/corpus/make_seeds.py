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


def resource_tree(resources, rva):
    """A resource section loaded at rva: (type, name, language, data) with ids or ASCII texts,
    sorted as Windows searches them; directories first, then leaves, name texts and data."""
    types = {}
    for kind, name, language, data in resources:
        types.setdefault(kind, {}).setdefault(name, []).append((language, data))
    order = lambda keys: sorted(keys, key=lambda k: (0, k.lower()) if isinstance(k, str) else (1, k))
    directories, leaves, texts, blobs = [], [], [], []
    layout = []  # (type key, [(name key, [(language, data)])])
    for kind in order(types):
        layout.append((kind, [(name, sorted(types[kind][name])) for name in order(types[kind])]))
    size = lambda n: 16 + 8 * n
    end = size(len(layout))
    type_at = []
    for _, names in layout:
        type_at.append(end)
        end += size(len(names))
    name_at = []
    for _, names in layout:
        for _, languages in names:
            name_at.append(end)
            end += size(len(languages))
    leaves_at = end
    end += 16 * sum(len(languages) for _, names in layout for _, languages in names)
    text_at = {}
    for kind, names in layout:
        for key in [kind] + [name for name, _ in names]:
            if isinstance(key, str) and key not in text_at:
                text_at[key] = end
                end += 2 + 2 * len(key)
    out = bytearray(end)
    data_at = []
    for kind, names in layout:
        for _, languages in names:
            for _, data in languages:
                while len(out) % 8:
                    out.append(0)
                data_at.append(len(out))
                out += data

    def directory(at, keys):
        named = sum(isinstance(k, str) for k in keys)
        struct.pack_into("<IIHHHH", out, at, 0, 0, 0, 0, named, len(keys) - named)
        return at + 16

    def key(at, k):
        if isinstance(k, str):
            struct.pack_into("<I", out, at, text_at[k] | 0x80000000)
            struct.pack_into("<H", out, text_at[k], len(k))
            out[text_at[k] + 2:text_at[k] + 2 + 2 * len(k)] = k.encode("utf-16-le")
        else:
            struct.pack_into("<I", out, at, k)

    entry = directory(0, [kind for kind, _ in layout])
    n = leaf = 0
    for t, (kind, names) in enumerate(layout):
        key(entry, kind)
        struct.pack_into("<I", out, entry + 4, type_at[t] | 0x80000000)
        entry += 8
        type_entry = directory(type_at[t], [name for name, _ in names])
        for name, languages in names:
            key(type_entry, name)
            struct.pack_into("<I", out, type_entry + 4, name_at[n] | 0x80000000)
            type_entry += 8
            name_entry = directory(name_at[n], [language for language, _ in languages])
            n += 1
            for language, data in languages:
                at = leaves_at + 16 * leaf
                struct.pack_into("<II", out, name_entry, language, at)
                name_entry += 8
                struct.pack_into("<IIII", out, at, rva + data_at[leaf], len(data), 0, 0)
                leaf += 1
    return bytes(out)


STUB_RESOURCES = [(5, 129, 0x409, b"dialog"), (24, 1, 0x409, b"<manifest/>"), ("DATA", "X", 0x411, b"named")]


def stub(resources):
    """A setup stub as the linker lays it out: .text, .rsrc, then .reloc, 0x200 bytes each."""
    tree = resource_tree(resources, 0x2000)
    raw = (len(tree) + 0x1FF) // 0x200 * 0x200
    pe, optional = 0x40, 0x58
    sections = optional + 240
    out = bytearray(0x400 + 0x200 + raw + 0x200)
    out[0:2] = b"MZ"
    struct.pack_into("<I", out, 0x3C, pe)
    out[pe:pe + 4] = b"PE\0\0"
    struct.pack_into("<HH", out, pe + 4, 0x8664, 3)
    struct.pack_into("<HH", out, pe + 20, 240, 0x22)
    struct.pack_into("<H", out, optional, 0x20B)
    struct.pack_into("<II", out, optional + 32, 0x1000, 0x200)
    struct.pack_into("<II", out, optional + 56, 0x4000, 0x400)
    struct.pack_into("<H", out, optional + 68, 2)
    struct.pack_into("<I", out, optional + 108, 16)
    struct.pack_into("<II", out, optional + 112 + 8 * 2, 0x2000, len(tree))
    struct.pack_into("<II", out, optional + 112 + 8 * 5, 0x3000, 12)
    offsets = [0x400, 0x600, 0x600 + raw]
    for i, name in enumerate([b".text", b".rsrc", b".reloc"]):
        at = sections + 40 * i
        out[at:at + len(name)] = name
        struct.pack_into("<IIII", out, at + 8, len(tree) if i == 1 else 0x100, 0x1000 * (i + 1),
                         raw if i == 1 else 0x200, offsets[i])
    out[0x400:0x406] = b"code!!"
    out[0x600:0x600 + len(tree)] = tree
    out[offsets[2]:offsets[2] + 6] = b"relocs"
    return bytes(out)


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

    write("pe_resources", "tree", resource_tree(STUB_RESOURCES, 0))
    write("pe_resources", "stub", stub(STUB_RESOURCES))


if __name__ == "__main__":
    main()
