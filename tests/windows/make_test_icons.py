#!/usr/bin/env python3
"""Writes the test icons beside this script: 16 colours, opaque.

icon0.ico ... icon4.ico hold one 32 x 32 image each: icon i is one colour with a black edge and
i + 1 white dots, so that tests can tell the cells of the picker's strip apart by a pixel and a
person can tell them apart on a screenshot.

icon_16_48_32.ico and icon_256_16_32.ico hold one image per size in the order their names give;
each size has its own colour inside a black edge (16 red, 32 green, 48 yellow, 256 magenta), so
that a test can tell which image was taken and whether it was drawn at its own size.
Run it again only to change the icons; the .ico files are kept in the repository.
"""
import pathlib
import struct

COLOURS = [(0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0x00, 0x00, 0xFF), (0xFF, 0xFF, 0x00),
           (0xFF, 0x00, 0xFF)]
SIZE_COLOURS = {16: (0xFF, 0x00, 0x00), 32: (0x00, 0xFF, 0x00), 48: (0xFF, 0xFF, 0x00),
                256: (0xFF, 0x00, 0xFF)}


def dotted(i, size):
    """Palette index: 0 black, 1 white, 2 the icon's colour."""
    def pixel(x, y):
        if x in (0, size - 1) or y in (0, size - 1):
            return 0
        if 14 <= y <= 15 and any(4 + 5 * k <= x <= 5 + 5 * k for k in range(i + 1)):
            return 1
        return 2
    return pixel


def image(size, colour, pixel):
    """One BMP-format icon image of `size` pixels, 4 bits per pixel."""
    palette = [(0, 0, 0), (0xFF, 0xFF, 0xFF), colour] + [(0, 0, 0)] * 13
    xor_rows = []
    for y in reversed(range(size)):  # bottom-up
        row = bytearray()
        for x in range(0, size, 2):
            row.append(pixel(x, y) << 4 | pixel(x + 1, y))
        row += bytes(-len(row) % 4)
        xor_rows.append(bytes(row))
    xor = b"".join(xor_rows)
    and_mask = bytes(((size + 31) // 32 * 4) * size)  # all opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(and_mask),
                         0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + xor + and_mask


def icon_file(images):
    """An .ico file of (size, image bytes) pairs, in the order given."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, img in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
        data += img
    return directory + entries + data


def sized(size):
    return size, image(size, SIZE_COLOURS[size], lambda x, y: 0 if x in (0, size - 1) or
                       y in (0, size - 1) else 2)


here = pathlib.Path(__file__).resolve().parent
for i in range(len(COLOURS)):
    (here / f"icon{i}.ico").write_bytes(icon_file([(32, image(32, COLOURS[i], dotted(i, 32)))]))
for sizes in ((16, 48, 32), (256, 16, 32)):
    name = "icon_" + "_".join(map(str, sizes)) + ".ico"
    (here / name).write_bytes(icon_file([sized(s) for s in sizes]))
