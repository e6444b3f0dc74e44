#!/usr/bin/env python3
"""Redraws the caption buttons of a Wine screenshot as Windows draws them.

Usage: caption_buttons.py IN.png OUT.png   (ImageMagick's convert reads and writes them)

Wine draws the minimize, maximize and close glyphs with a font that this
set-up lacks, so they come out as the letters "0", "1" and "r". Every
caption button (a raised 16 x 14 box: light top and left edge, white inner
edge) gets its face cleared and the proper glyph drawn: the right-hand button
of a row is close; the two joined buttons left of it are minimize and
maximize. A button whose old glyph held no black is disabled: its glyph is
drawn grey over a white one set one pixel down and right.
"""
import subprocess
import sys

WIDTH, HEIGHT = 16, 14
LIGHT, WHITE, BLACK = (0xE3, 0xE3, 0xE3), (0xFF, 0xFF, 0xFF), (0, 0, 0)
# Glyphs as Windows' classic 16 x 14 caption buttons show them, each row from
# its left column, placed at (column, row) inside the button.
GLYPHS = {
    "minimize": (4, 9, ["######", "######"]),
    "maximize": (3, 2, ["#########", "#########", "#.......#", "#.......#", "#.......#",
                        "#.......#", "#.......#", "#.......#", "#########"]),
    "close": (4, 3, ["##....##", ".##..##.", "..####..", "...##...", "..####..",
                     ".##..##.", "##....##"]),
}


def read_ppm(data, path):
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum; no comments from convert
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit P6 picture")
    width, height = int(fields[1]), int(fields[2])
    return width, height, bytearray(data[pos + 1:pos + 1 + width * height * 3])


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: caption_buttons.py IN.png OUT.png")
    source, target = sys.argv[1:]
    ppm = subprocess.run(["convert", source, "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    width, height, pixels = read_ppm(ppm, source)

    def at(x, y):
        if not (0 <= x < width and 0 <= y < height):
            return None
        i = (y * width + x) * 3
        return tuple(pixels[i:i + 3])

    def put(x, y, colour):
        i = (y * width + x) * 3
        pixels[i:i + 3] = bytes(colour)

    def run(x, y, dx, dy):
        n = 0
        while at(x + n * dx, y + n * dy) == LIGHT:
            n += 1
        return n

    buttons = [(x, y) for y in range(1, height) for x in range(1, width)
               if at(x, y) == LIGHT and at(x + 1, y + 1) == WHITE and at(x - 1, y) != LIGHT
               and at(x, y - 1) != LIGHT and run(x, y, 1, 0) == WIDTH - 1 and run(x, y, 0, 1) == HEIGHT - 1]
    if not buttons:
        sys.exit(f"{source}: no caption buttons found")
    taken = set(buttons)
    for x, y in buttons:
        if (x + WIDTH, y) in taken or (x + WIDTH + 2, y) in taken:
            kind = "minimize" if (x + WIDTH, y) in taken else "maximize"
        else:
            kind = "close"
        face, shadow = at(x + 2, y + 2), at(x + WIDTH - 2, y + 2)
        inside = [(x + i, y + j) for j in range(2, HEIGHT - 2) for i in range(2, WIDTH - 2)]
        enabled = any(at(*p) == BLACK for p in inside)
        for p in inside:
            put(*p, face)
        left, top, rows = GLYPHS[kind]
        layers = [(1, WHITE), (0, shadow)] if not enabled else [(0, BLACK)]
        for shift, colour in layers:
            for j, row in enumerate(rows):
                for i, cell in enumerate(row):
                    if cell == "#":
                        put(x + left + i + shift, y + top + j + shift, colour)
    # No time chunks: the same picture gives the same file, and so the same help.
    subprocess.run(["convert", "ppm:-", "-strip", "-define", "png:exclude-chunks=date,time", target],
                   check=True, input=b"P6\n%d %d\n255\n" % (width, height) + bytes(pixels))
    print(f"{target}: {len(buttons)} caption buttons redrawn")


if __name__ == "__main__":
    main()
