#!/usr/bin/env python3
"""Writes icon0.ico ... icon4.ico beside this script: 32 x 32, 16 colours, opaque.

Icon i is one colour with a black edge and i + 1 white dots, so that tests can tell the cells
of the picker's strip apart by a pixel and a person can tell them apart on a screenshot.
Run it again only to change the icons; the .ico files are kept in the repository.
"""
import pathlib
import struct

COLOURS = [(0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0x00, 0x00, 0xFF), (0xFF, 0xFF, 0x00),
           (0xFF, 0x00, 0xFF)]
SIZE = 32


def pixel(i, x, y):
    """Palette index: 0 black, 1 white, 2 the icon's colour."""
    if x in (0, SIZE - 1) or y in (0, SIZE - 1):
        return 0
    if 14 <= y <= 15 and any(4 + 5 * k <= x <= 5 + 5 * k for k in range(i + 1)):
        return 1
    return 2


def icon(i):
    palette = [(0, 0, 0), (0xFF, 0xFF, 0xFF), COLOURS[i]] + [(0, 0, 0)] * 13
    xor_rows = []
    for y in reversed(range(SIZE)):  # bottom-up
        row = bytearray()
        for x in range(0, SIZE, 2):
            row.append(pixel(i, x, y) << 4 | pixel(i, x + 1, y))
        xor_rows.append(bytes(row))
    xor = b"".join(xor_rows)
    and_mask = bytes(SIZE * 4)  # all opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(and_mask),
                         0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + colours + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


here = pathlib.Path(__file__).resolve().parent
for i in range(len(COLOURS)):
    (here / f"icon{i}.ico").write_bytes(icon(i))
