#!/usr/bin/env python3
"""Checks the download the package target made in BUILD_DIR: its files, a manual that needs no
other file, a README that Notepad shows right, and one version in the zip's name, in Quenda.exe's
version resource and in the help dialog's label compiled into it.

    check_package.py BUILD_DIR
"""
import pathlib
import re
import struct
import sys
import zipfile

EXPECTED = {"Quenda.exe", "Quenda-manual.html", "LICENSE", "README.txt"}
WIDE_DIGITS = str.maketrans("０１２３４５６７８９．", "0123456789.")


def version_strings(exe, key):
    """The values of a StringFileInfo entry: the key in UTF-16, padding, then the value."""
    found = []
    needle = key.encode("utf-16-le") + b"\0\0"
    for m in re.finditer(re.escape(needle), exe):
        at = m.end()
        at += (-at) % 4  # values start on a 32-bit boundary
        end = at
        while exe[end:end + 2] != b"\0\0":
            end += 2
        found.append(exe[at:end].decode("utf-16-le"))
    return found


def fixed_version(exe):
    """FILEVERSION and PRODUCTVERSION of VS_FIXEDFILEINFO, as "a.b.c.d"."""
    at = exe.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None, None
    fms, fls, pms, pls = struct.unpack_from("<4I", exe, at + 8)
    text = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    return text(fms, fls), text(pms, pls)


def labels(exe):
    """Every "Ver　…β" text in the program, with its digits made narrow."""
    found = []
    start = "Ver\u3000".encode("utf-16-le")
    for m in re.finditer(re.escape(start), exe):
        end = exe.find("β".encode("utf-16-le"), m.end(), m.end() + 64)
        if end >= 0 and (end - m.end()) % 2 == 0:
            found.append(exe[m.end():end].decode("utf-16-le").translate(WIDE_DIGITS))
    return found


def main(build):
    problems = []
    zips = sorted(build.glob("Quenda-*-win64.zip"), key=lambda p: p.stat().st_mtime)
    if not zips:
        print(f"no Quenda-*-win64.zip in {build}", file=sys.stderr)
        return 1
    package = zips[-1]
    version = package.name[len("Quenda-"):-len("-win64.zip")]
    with zipfile.ZipFile(package) as z:
        names = set(z.namelist())
        if names != EXPECTED:
            problems.append(f"{package.name} holds {sorted(names)}, not {sorted(EXPECTED)}")
        read = lambda n: z.read(n) if n in names else b""
        exe, manual, readme = read("Quenda.exe"), read("Quenda-manual.html"), read("README.txt")
    if not readme.startswith(b"\xef\xbb\xbf") or b"\r\n" not in readme:
        problems.append("README.txt is not UTF-8 with a byte order mark and CR LF lines")
    outside = re.findall(rb'<img\b[^>]*?\bsrc="(?!data:)([^"]*)"', manual)
    if outside or b"data:image/png;base64," not in manual:
        problems.append(f"the packaged manual does not hold its pictures: {outside}")

    numbers = ".".join((version.split(".") + ["0"] * 4)[:4])
    texts = {
        "FileVersion": version_strings(exe, "FileVersion"),
        "ProductVersion": version_strings(exe, "ProductVersion"),
        "the help dialog's label": labels(exe),
    }
    for what, found in texts.items():
        if found != [version]:
            problems.append(f"{what} in Quenda.exe: {found}, the zip's name: {version}")
    for what, found in zip(("FILEVERSION", "PRODUCTVERSION"), fixed_version(exe)):
        if found != numbers:
            problems.append(f"{what} in Quenda.exe: {found}, the zip's name: {numbers}")
    for p in problems:
        print(p, file=sys.stderr)
    if not problems:
        print(f"{package.name}: {sorted(names)}; version {version} throughout")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(pathlib.Path(sys.argv[1])))
