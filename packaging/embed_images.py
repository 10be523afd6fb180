#!/usr/bin/env python3
"""The manual as one file that works offline: every picture it names (<img src="x.png">) is
embedded as a data: URI.

    embed_images.py MANUAL.html OUT.html   writes the one-file manual
    embed_images.py --check MANUAL.html    only fails when a picture the manual names is missing
"""
import base64
import pathlib
import re
import sys

IMG = re.compile(r'(<img\b[^>]*?\bsrc=")([^"]+)(")', re.IGNORECASE)
TYPES = {".png": "image/png", ".jpg": "image/jpeg", ".jpeg": "image/jpeg", ".gif": "image/gif",
         ".svg": "image/svg+xml"}


def main(argv):
    check = argv[:1] == ["--check"]
    args = argv[1:] if check else argv
    if len(args) != (1 if check else 2):
        print(__doc__, file=sys.stderr)
        return 2
    manual = pathlib.Path(args[0])
    problems = []

    def embed(m):
        name = m.group(2)
        if name.startswith("data:"):
            return m.group(0)
        picture = manual.parent / name
        kind = TYPES.get(picture.suffix.lower())
        if kind is None or not picture.is_file():
            problems.append(f"{manual}: the picture {name} is missing or of no known type")
            return m.group(0)
        data = base64.b64encode(picture.read_bytes()).decode("ascii")
        return f"{m.group(1)}data:{kind};base64,{data}{m.group(3)}"

    page = IMG.sub(embed, manual.read_text(encoding="utf-8"))
    if not IMG.search(manual.read_text(encoding="utf-8")):
        problems.append(f"{manual}: no pictures found")
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    if not check:
        pathlib.Path(args[1]).write_text(page, encoding="utf-8", newline="\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
