#!/usr/bin/env python3
"""Compiles the help pages into PelloryV2_0.chm with chmcmd.

Usage: make_chm.py CHMCMD HELP_DIR SCREENSHOT_DIR STAGE_DIR OUT.chm

The pages are kept in UTF-8 so that they read and diff well; the HTML Help
viewer shows a UTF-8 title garbled, so every text file is staged in Shift-JIS
(code page 932, as Windows has it) with its charset label changed to match.
A character that Shift-JIS cannot hold stops the build.

An <img> line whose picture is not in SCREENSHOT_DIR is left out, so the help
builds before the screenshots exist; the pictures that exist are copied in.
The compile time stamps are cleared: the same sources give the same file.
"""
import os
import re
import shutil
import struct
import subprocess
import sys

TEXT_KINDS = (".hhp", ".hhc", ".hhk", ".html", ".css")
PROJECT = "PelloryV2_0.hhp"
IMAGE = re.compile(r'<img\b[^>]*\bsrc="([^"]+)"')


def stage_text(source, target, pictures):
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    kept = []
    for line in lines:
        found = IMAGE.search(line)
        if found and found.group(1) not in pictures:
            continue
        kept.append(line.replace("charset=UTF-8", "charset=Shift_JIS"))
    text = "\r\n".join(kept) + "\r\n"
    try:
        data = text.encode("cp932")
    except UnicodeEncodeError as e:
        sys.exit(f"{source}: {text[e.start:e.end]!r} has no Shift-JIS form")
    with open(target, "wb") as f:
        f.write(data)


def encint(data, pos):
    """Reads one of the directory's variable-length numbers: value, next position."""
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def clear_time_stamps(path):
    """chmcmd stamps the compile time into the file header and into #SYSTEM
    (entry 10); both are cleared, so the same pages give the same file."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
        sys.exit(f"{path}: not a version 3 ITSF file")
    data[0x10:0x14] = bytes(4)
    directory, directory_length, content = struct.unpack_from("<QQQ", data, 0x48)
    name = data.find(b"\x08/#SYSTEM", directory, directory + directory_length)
    section, pos = encint(data, name + 9)
    offset, _ = encint(data, pos)
    system = content + offset
    if name < 0 or section != 0 or data[system + 4:system + 8] != b"\x0a\x00\x04\x00":
        sys.exit(f"{path}: no time stamp at the start of #SYSTEM")
    data[system + 8:system + 12] = bytes(4)
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 6:
        sys.exit("usage: make_chm.py CHMCMD HELP_DIR SCREENSHOT_DIR STAGE_DIR OUT.chm")
    chmcmd, help_dir, shot_dir, stage, out = sys.argv[1:]
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    pictures = sorted(n for n in os.listdir(shot_dir) if n.endswith(".png")) if os.path.isdir(shot_dir) else []
    for name in pictures:
        shutil.copyfile(os.path.join(shot_dir, name), os.path.join(stage, name))
    for name in sorted(os.listdir(help_dir)):
        if name.endswith(TEXT_KINDS):
            stage_text(os.path.join(help_dir, name), os.path.join(stage, name), pictures)
    # chmcmd takes only the files the project lists or the pages link to.
    with open(os.path.join(stage, PROJECT), "ab") as f:
        f.write("".join(p + "\r\n" for p in pictures).encode("ascii"))
    result = subprocess.run([chmcmd, "--verbosity", "0", PROJECT], cwd=stage,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    compiled = os.path.join(stage, "PelloryV2_0.chm")
    if result.returncode != 0 or not os.path.isfile(compiled):
        sys.exit("chmcmd failed:\n" + result.stdout)
    clear_time_stamps(compiled)
    shutil.move(compiled, out)


if __name__ == "__main__":
    main()
