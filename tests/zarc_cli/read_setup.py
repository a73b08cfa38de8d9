#!/usr/bin/env python3
"""Reads a program written by "zarc setup" with pefile, a reader independent of zarc, and checks it
against its stub, its package and its icon. Prints each failure; exit status 1 when any.
Usage: read_setup.py SETUP.exe STUB.exe PACKAGE.zarc ICON.ico PRODUCT VERSION COMPANY DESCRIPTION"""
import struct
import sys

import pefile

failures = []


def check(what, ok, detail=""):
    if not ok:
        failures.append(what + (": " + str(detail) if detail != "" else ""))


def resources(pe):
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in rtype.directory.entries:
            for lang in name.directory.entries:
                key = (str(rtype.name) if rtype.name else rtype.id,
                       str(name.name) if name.name else name.id, lang.id)
                entry = lang.data.struct
                found[key] = pe.get_data(entry.OffsetToData, entry.Size)
    return found


def main():
    out_path, stub_path, package_path, icon_path, product, version, company, description = sys.argv[1:9]
    setup, stub = pefile.PE(out_path), pefile.PE(stub_path)
    check("pefile warnings", not setup.get_warnings(), setup.get_warnings())
    check("checksum", setup.OPTIONAL_HEADER.CheckSum == setup.generate_checksum(),
          (setup.OPTIONAL_HEADER.CheckSum, setup.generate_checksum()))

    last = setup.sections[-1]
    directory = setup.OPTIONAL_HEADER.DATA_DIRECTORY
    check("resource section last", last.Name.rstrip(b"\0") == b".rsrc", last.Name)
    check("resource directory at the last section", directory[2].VirtualAddress == last.VirtualAddress)
    align = setup.OPTIONAL_HEADER.SectionAlignment
    image_end = (last.VirtualAddress + last.Misc_VirtualSize + align - 1) // align * align
    check("image size", setup.OPTIONAL_HEADER.SizeOfImage == image_end,
          (hex(setup.OPTIONAL_HEADER.SizeOfImage), hex(image_end)))
    check("relocations still found", directory[5].Size == stub.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size
          and setup.get_data(directory[5].VirtualAddress, directory[5].Size)
          == stub.get_data(stub.OPTIONAL_HEADER.DATA_DIRECTORY[5].VirtualAddress, directory[5].Size))
    for before in stub.sections:
        if before.Name.rstrip(b"\0") in (b".rsrc", b".reloc"):
            continue
        after = [s for s in setup.sections if s.Name == before.Name]
        check("section %s unchanged" % before.Name.rstrip(b"\0").decode(),
              after and after[0].get_data() == before.get_data()
              and after[0].VirtualAddress == before.VirtualAddress)

    have, had = resources(setup), resources(stub)
    for key, data in had.items():
        if key[0] != 3 and key[0] != 14:  # the stub has no icon of its own to keep
            check("stub resource %s kept" % (key,), have.get(key) == data)
    zarc = [key for key in have if key[0] == "ZARC"]
    with open(package_path, "rb") as f:
        check("ZARC 135 is the package, byte for byte", have.get(("ZARC", 135, 0x409)) == f.read())
    check("ZARC 136 keeps the current folder out, and no other ZARC resource",
          have.get(("ZARC", 136, 0x409)) == b"ZSRC\0\0\0\0" and len(zarc) == 2, zarc)

    with open(icon_path, "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    group = have.get((14, 1, 0x409), b"")
    check("icon group lists every image", len(group) == 6 + 14 * count and
          struct.unpack_from("<H", group, 4)[0] == count)
    for i in range(count):
        size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] if len(group) >= 6 + 14 * (i + 1) else -1
        check("icon image %d" % (i + 1), have.get((3, icon_id, 0x409)) == ico[offset:offset + size])

    strings = {}
    for info in getattr(setup, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    expected = {"ProductName": product, "ProductVersion": version, "FileVersion": version,
                "CompanyName": company, "FileDescription": description}
    for key, value in expected.items():
        check("version string " + key, strings.get(key) == value, strings.get(key))
    parts = [int(p) for p in version.split(".")] + [0, 0, 0]
    fixed = setup.VS_FIXEDFILEINFO[0]
    check("fixed file version", (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS)
          == (parts[0] << 16 | parts[1], parts[2] << 16 | parts[3], parts[0] << 16 | parts[1]))

    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
