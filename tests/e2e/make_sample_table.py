#!/usr/bin/env python3
"""Writes a sample table file from the file layout (not through Quenda): address pages with
Japanese titles, program pages with drawn icons. Used for screenshots and end-to-end runs.

usage: make_sample_table.py OUT [MARKER_BATCH_FILE]
With a batch file path (Windows form), slot 0 of P1 opens it; its access count is empty, as
for an entry that was never opened."""
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
WIDTHS = [2, 2, 64, 128, 128, 128, 10, 20, 256]
BLACK, WHITE = 0, 15


def field(text: str, width: int) -> bytes:
    raw = text.encode("cp932")[:width]
    return raw + bytes(width - len(raw))


def bmp(pixels) -> bytes:
    out = b"BM" + struct.pack("<IHHI", 630, 0, 0, 118)
    out += struct.pack("<IiiHHIIiiII", 40, 32, 32, 1, 4, 0, 512, 0, 0, 16, 0)
    out += b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    for y in reversed(range(32)):
        out += bytes((pixels[y][x] << 4) | pixels[y][x + 1] for x in range(0, 32, 2))
    return out


def icon(kind: int):
    """A small drawn icon on white: a framed window, a page, a gear-like disc, a bar chart."""
    p = [[WHITE] * 32 for _ in range(32)]
    colours = [12, 9, 2, 13, 6, 1, 4, 3]
    c = colours[kind % len(colours)]
    shape = kind % 4
    for y in range(32):
        for x in range(32):
            if shape == 0 and 3 <= x < 29 and 5 <= y < 27:
                p[y][x] = c if y < 10 else (8 if x in (3, 28) or y == 26 else WHITE)
            elif shape == 1 and 8 <= x < 24 and 3 <= y < 29:
                p[y][x] = BLACK if x in (8, 23) or y in (3, 28) else (c if y % 4 == 0 and 11 <= x < 21 else WHITE)
            elif shape == 2 and (x - 15.5) ** 2 + (y - 15.5) ** 2 < 160:
                p[y][x] = c if (x - 15.5) ** 2 + (y - 15.5) ** 2 > 30 else WHITE
            elif shape == 3 and y >= 26 - (x // 7) * 6 and y < 28 and 4 <= x < 28 and x % 7 < 5:
                p[y][x] = c
    return p


def record(flag1="", title="", target="", name="", folder="", count="", last="", memo="", pixels=None):
    values = ["", flag1, title, target, name, folder, count, last, memo]
    fields = b"".join(field(v, w) for v, w in zip(values, WIDTHS))
    return fields + bmp(pixels or [[BLACK] * 32 for _ in range(32)])


def main() -> None:
    out = sys.argv[1]
    batch = sys.argv[2] if len(sys.argv) > 2 else None
    addresses = ["ニュース速報", "天気予報", "地図と乗換案内", "国語辞典", "翻訳サービス",
                 "Web メール", "オンライン書店", "技術ブログ", "Quenda ホームページ", "社内ポータル"]
    programs = ["メモ帳", "表計算", "ペイント", "電卓", "端末", "画像ビューア", "音楽", "バックアップ"]
    records = []
    for page in range(14):
        for slot in range(25):
            if page == 0 and slot < len(addresses):
                records.append(record("1", addresses[slot], f"http://example.com/{slot}",
                                      addresses[slot], "", str(slot * 3), "2026/12/08 9:%02d:00" % slot,
                                      "よく使うページ"))
            elif page == 8 and slot < len(programs):
                target = batch if (batch and slot == 0) else f"C:\\Tools\\prog{slot}.exe"
                folder = batch.rsplit("\\", 1)[0] if (batch and slot == 0) else "C:\\Tools"
                count = "" if (batch and slot == 0) else str(slot)
                records.append(record("0", programs[slot], target, programs[slot], folder,
                                      count, "2026/12/07 18:00:00", "", icon(slot)))
            else:
                records.append(record())
    data = b"".join(records)
    assert len(data) == 478800, len(data)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
