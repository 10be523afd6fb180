#!/usr/bin/env python3
"""Writes src/resources/page_glyph.bmp: the page buttons' glyph strip, 138 x 18, 24-bit.

Four images of 34 pixels: up (grey shading, near-white at the top to dark grey at the bottom),
disabled (white), pressed and down (dark grey at top and bottom, a white lit bar between)."""
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT, IMAGE = 138, 18, 34
DARK, LIGHT = 0x60, 0xF4


def shade(image: int, y: int) -> int:
    if image == 0:
        return round(LIGHT - (LIGHT - DARK) * y / (HEIGHT - 1))
    if image == 1:
        return 0xFF
    middle = (HEIGHT - 1) / 2
    return round(0xFF - (0xFF - DARK) * abs(y - middle) / middle)


def main() -> None:
    row_bytes = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom row first
        row = bytearray()
        for x in range(WIDTH):
            v = shade(min(x // IMAGE, 3), y)
            row += bytes((v, v, v))
        pixels += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent.parent / "src/resources/page_glyph.bmp")
    out.write_bytes(header + info + pixels)


if __name__ == "__main__":
    main()
