#!/usr/bin/env python3
"""Writes a 32 x 32, 16-colour .ico from a text pixel map.

Usage: make_ico.py MAP.txt OUT.ico

The map holds legend lines "C = RRGGBB [note]" or "C = transparent [note]"
(C one character), then 32 rows of 32 legend characters, top row first.
Lines starting with "#" and blank lines are skipped.
"""
import struct
import sys

SIZE = 32
COLOURS = 16


def read_map(path):
    """Returns (legend: char -> (r, g, b) or None, rows: list of str)."""
    legend, rows = {}, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split()
            if len(parts) >= 3 and len(parts[0]) == 1 and parts[1] == "=":
                value = parts[2]
                if value == "transparent":
                    legend[parts[0]] = None
                elif len(value) == 6:
                    legend[parts[0]] = tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))
                else:
                    sys.exit(f"{path}:{number}: colour must be RRGGBB or transparent")
                continue
            if len(line) != SIZE or any(c not in legend for c in line):
                sys.exit(f"{path}:{number}: a row needs {SIZE} legend characters")
            rows.append(line)
    if len(rows) != SIZE:
        sys.exit(f"{path}: {len(rows)} rows, {SIZE} needed")
    return legend, rows


def build_palette(legend):
    """Black first: transparent pixels need a colour of 0 under their mask bit."""
    palette = [(0, 0, 0)]
    index = {}
    for char, colour in legend.items():
        if colour is None:
            index[char] = 0
            continue
        if colour not in palette:
            palette.append(colour)
        index[char] = palette.index(colour)
    if len(palette) > COLOURS:
        sys.exit(f"more than {COLOURS} colours in the legend")
    palette += [(0, 0, 0)] * (COLOURS - len(palette))
    return palette, index


def ico_bytes(legend, rows):
    palette, index = build_palette(legend)
    # Bitmap rows run bottom-up; 4-bit colour rows are 16 bytes, mask rows
    # (1 bit per pixel, set = transparent) are padded to 4 bytes.
    colour_rows, mask_rows = [], []
    for row in reversed(rows):
        nibbles = [index[c] for c in row]
        colour_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (legend[c] is None)
        mask_rows.append(bits.to_bytes(SIZE // 8, "big"))
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(pixels), 0, 0, COLOURS, 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + table + pixels
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, COLOURS, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_ico.py MAP.txt OUT.ico")
    legend, rows = read_map(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(ico_bytes(legend, rows))


if __name__ == "__main__":
    main()
