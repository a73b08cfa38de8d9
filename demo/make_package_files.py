#!/usr/bin/env python3
"""Makes the demo package's generated files in OUT_DIR: the two pictures, and the texts in the
form the setup program reads (code page 932, CR LF); and the setup program's icon in ICON.
Usage: make_package_files.py DEMO_DIR OUT_DIR [ICON]"""
import math
import pathlib
import struct
import sys


def bitmap(width, height, bits, palette, rows):
    """A bottom-up uncompressed Windows bitmap file; rows are given top row first."""
    stride = (width * bits + 31) // 32 * 4
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = b"".join(row.ljust(stride, b"\0") for row in reversed(rows))
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    return header + info + table + pixels


def main_picture():
    """320 x 192, 256 colours: a dusk sky with a quill."""
    width, height = 320, 192
    palette = []
    for i in range(192):  # sky, deep blue to warm orange
        t = i / 191
        palette.append((int(20 + 215 * t), int(30 + 120 * t), int(90 + 10 * t)))
    for i in range(64):  # quill, dark to light ivory
        t = i / 63
        palette.append((int(120 + 130 * t), int(110 + 130 * t), int(90 + 120 * t)))
    rows = []
    for y in range(height):
        row = bytearray(y for _ in range(width))
        for x in range(width):
            # A feather along a curve from lower left to upper right.
            u = (x - 60) / 200
            if 0 <= u <= 1:
                centre = 160 - 130 * u - 20 * math.sin(u * math.pi)
                half = 22 * math.sin(u * math.pi) ** 0.7
                d = abs(y - centre)
                if d <= half:
                    barb = (x + int(d * 1.5)) % 6 < 4
                    row[x] = 192 + int(63 * (1 - d / (half + 1))) * (1 if barb else 0) // 1
                elif d <= 1.2 and u > 0.9:
                    row[x] = 255
        rows.append(bytes(row))
    return bitmap(width, height, 8, palette, rows)


def parts_picture():
    """64 x 1024, 24 bits: sixteen 64 x 64 frames of a turning spoke, the busy animation."""
    rows = []
    for frame in range(16):
        angle = frame * math.pi / 8
        for y in range(64):
            row = bytearray()
            for x in range(64):
                dx, dy = x - 31.5, y - 31.5
                r = math.hypot(dx, dy)
                a = (math.atan2(dy, dx) - angle) % (2 * math.pi)
                lit = 18 < r < 28 and a < math.pi / 4
                ring = 18 < r < 28
                b, g, red = (40, 160, 240) if lit else (90, 90, 90) if ring else (240, 240, 240)
                row += bytes((b, g, red))
            rows.append(bytes(row))
    return bitmap(64, 1024, 24, [], [bytes(r) for r in rows])


def icon_image(size):
    """One size of the setup program's icon, 32 bits with alpha: the dusk of the main picture in
    a rounded square, crossed by the quill."""
    pixels, mask = bytearray(), bytearray()
    radius = size / 5
    mask_stride = (size + 31) // 32 * 4
    for y in reversed(range(size)):  # bottom-up
        mask_row = bytearray(mask_stride)
        for x in range(size):
            cx = min(max(x + 0.5, radius), size - radius)
            cy = min(max(y + 0.5, radius), size - radius)
            inside = math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius
            t = y / (size - 1)
            r, g, b = int(20 + 215 * t), int(30 + 120 * t), int(90 + 10 * t)
            # The quill: a band from lower left to upper right, thinning towards its tip.
            u = (x + 0.5) / size
            d = abs((y + 0.5) / size - (1 - u))
            if 0.12 < u < 0.9 and d < 0.12 * math.sin(u * math.pi) ** 0.7:
                r, g, b = 245, 236, 205
            pixels += bytes((b, g, r, 255 if inside else 0))
            if not inside:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask),
                       0, 0, 0, 0)
    return info + pixels + mask


def icon_file(sizes):
    """A Windows icon file holding one image of each size."""
    images = [icon_image(size) for size in sizes]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return head + entries + b"".join(images)


def cp932_text(source):
    text = pathlib.Path(source).read_text(encoding="utf-8").replace("\r\n", "\n")
    return text.replace("\n", "\r\n").encode("cp932")


def main():
    demo, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    (out / "setup256.bmp").write_bytes(main_picture())
    (out / "parts.bmp").write_bytes(parts_picture())
    (out / "setup.txt").write_bytes(cp932_text(demo / "setup.txt"))
    (out / "readme.txt").write_bytes(cp932_text(demo / "readme.txt"))
    (out / "同意書.txt").write_bytes(cp932_text(demo / "licence.txt"))
    # The setup program's icon is no package entry: it goes beside the package's files.
    if len(sys.argv) > 3:
        pathlib.Path(sys.argv[3]).write_bytes(icon_file([16, 32, 48]))


if __name__ == "__main__":
    main()
