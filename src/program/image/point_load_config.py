#!/usr/bin/env python3
"""Points setup.exe's load configuration entry at its _load_config_used structure.

This linker does not fill the entry itself. The structure is found by its bytes: a size field of
112 (the 64-bit structure), the dependent load flags set, every other field zero. Exactly one
such place must lie in a section, or the build fails.

usage: point_load_config.py PROGRAM.exe
"""
import struct
import sys

SIZE = 112
DEPENDENT_LOAD_FLAGS_AT = 0x4E
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800
LOAD_CONFIG_ENTRY = 10


def main(path):
    image = bytearray(open(path, "rb").read())
    header = struct.unpack_from("<I", image, 0x3C)[0]
    if image[header:header + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE image")
    sections, optional_size = struct.unpack_from("<H12xH", image, header + 6)
    optional = header + 24
    if struct.unpack_from("<H", image, optional)[0] != 0x20B:
        sys.exit(f"{path}: not a 64-bit image")
    entry = optional + 112 + 8 * LOAD_CONFIG_ENTRY
    wanted = bytearray(SIZE)
    struct.pack_into("<I", wanted, 0, SIZE)
    struct.pack_into("<H", wanted, DEPENDENT_LOAD_FLAGS_AT, LOAD_LIBRARY_SEARCH_SYSTEM32)
    found = []
    table = optional + optional_size
    for i in range(sections):
        _, virtual_address, raw_size, raw_at = struct.unpack_from("<8s4xIII", image, table + 40 * i)
        at = image.find(wanted, raw_at, raw_at + raw_size)
        while at != -1:
            found.append(virtual_address + at - raw_at)
            at = image.find(wanted, at + 1, raw_at + raw_size)
    if len(found) != 1:
        sys.exit(f"{path}: {len(found)} places look like the load configuration, not one")
    struct.pack_into("<II", image, entry, found[0], SIZE)
    open(path, "wb").write(image)


if __name__ == "__main__":
    main(sys.argv[1])
