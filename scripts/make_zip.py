#!/usr/bin/env python3
"""Packs the release zip.

Usage: make_zip.py OUT.zip README_UTF8 WIN32_DIR WIN64_DIR

readme.txt is kept in UTF-8 and written in Shift-JIS (code page 932, as
Windows has it) with CR LF; a character that code page cannot hold stops the
packing. Every entry gets the time of the commit (or SOURCE_DATE_EPOCH) in
Japan's time zone, fixed attributes and a fixed order, so the same commit
gives the same zip.
"""
import datetime
import os
import subprocess
import sys
import zipfile

JST = datetime.timezone(datetime.timedelta(hours=9))


def readme_bytes(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        for char in line:
            try:
                char.encode("cp932")
            except UnicodeEncodeError:
                sys.exit(f"{path}:{number}: {char!r} (U+{ord(char):04X}) has no Shift-JIS form")
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


def source_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        epoch = subprocess.run(["git", "log", "-1", "--format=%ct"], check=True,
                               stdout=subprocess.PIPE, text=True).stdout.strip()
    when = datetime.datetime.fromtimestamp(int(epoch), JST)
    return max(when.timetuple()[:6], (1980, 1, 1, 0, 0, 0))


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: make_zip.py OUT.zip README_UTF8 WIN32_DIR WIN64_DIR")
    out, readme, win32, win64 = sys.argv[1:]
    when = source_time()
    entries = [
        ("PelloryV2_0.exe", os.path.join(win32, "PelloryV2_0.exe")),
        ("PelloryV2_0.chm", os.path.join(win32, "PelloryV2_0.chm")),
        ("readme.txt", None),
        ("x64/PelloryV2_0.exe", os.path.join(win64, "PelloryV2_0.exe")),
    ]
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        for name, source in entries:
            if source is None:
                data = readme_bytes(readme)
            else:
                with open(source, "rb") as f:
                    data = f.read()
            info = zipfile.ZipInfo(name, when)
            info.create_system = 0  # MS-DOS: attributes as Windows reads them
            info.external_attr = 0x20  # archive
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data, compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main()
