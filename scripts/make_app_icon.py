#!/usr/bin/env python3
"""Writes src/resources/quenda.ico, Quenda's application icon: a blue tile holding a 3 x 3 grid
of launcher keys, at 16, 32 and 48 pixels, 32-bit with alpha."""
import struct
from pathlib import Path

BLUE, EDGE, KEY, SHADE = (0x2F, 0x6F, 0xD8), (0x1B, 0x3F, 0x86), (0xFF, 0xFF, 0xFF), (0xC8, 0xD8, 0xF0)


def pixel(size: int, x: int, y: int):
    """RGBA of one pixel."""
    r = size / 16  # scale of the 16-pixel design
    inset = 0.5 * r
    if x < inset or y < inset or x >= size - inset or y >= size - inset:
        return (0, 0, 0, 0)
    if x < inset + r or y < inset + r or x >= size - inset - r or y >= size - inset - r:
        return EDGE + (255,)
    cell = (size - 2 * inset - 2 * r) / 3
    cx = (x - inset - r) / cell
    cy = (y - inset - r) / cell
    fx, fy = cx - int(cx), cy - int(cy)
    margin = 0.18
    if margin < fx < 1 - margin and margin < fy < 1 - margin:
        return (SHADE if fy > 0.7 else KEY) + (255,)
    return BLUE + (255,)


def image(size: int) -> bytes:
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask_row = (size + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            xor += bytes((b, g, r, a))
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def main() -> None:
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    (Path(__file__).parent.parent / "src/resources/quenda.ico").write_bytes(out)


if __name__ == "__main__":
    main()
