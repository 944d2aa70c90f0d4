#!/usr/bin/env python3
"""Turns the readable pictures in *.cur.txt and *.bmp.txt into resource files.

Usage: make_art.py OUTPUT_FILE DESCRIPTION_FILE

A cursor description holds 'hotspot X Y' and 32 rows of 32 characters:
'#' black, 'o' white, '.' transparent, '~' inverted screen.

A bitmap description holds 'size W H', optionally 'bits 4' (the standard
16-colour palette; every legend colour must be one of its entries; the
default is 24 bits), a legend of lines 'C = R G B', then 'pixels' and H rows
of W characters, top row first. Lines starting with '#' are comments.
"""
import struct
import sys

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def read_lines(path):
    with open(path) as f:
        return [line.rstrip('\n') for line in f if not line.startswith('#')]


def fail(path, message):
    sys.exit(f"{path}: {message}")


def make_cursor(path):
    lines = read_lines(path)
    words = lines[0].split()
    if words[0] != 'hotspot':
        fail(path, "first line must be 'hotspot X Y'")
    hx, hy = int(words[1]), int(words[2])
    rows = lines[1:33]
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        fail(path, "a cursor is 32 rows of 32 characters")
    xor_bits, and_bits = b'', b''
    for row in reversed(rows):  # DIBs run bottom-up
        x_word = a_word = 0
        for x, ch in enumerate(row):
            bit = 1 << (31 - x)
            if ch == 'o':
                x_word |= bit
            elif ch == '.':
                a_word |= bit
            elif ch == '~':
                x_word |= bit
                a_word |= bit
            elif ch != '#':
                fail(path, f"unknown pixel {ch!r}")
        xor_bits += struct.pack('>I', x_word)
        and_bits += struct.pack('>I', a_word)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, len(xor_bits) * 2, 0, 0, 2, 0)
    palette = struct.pack('<8B', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor_bits + and_bits
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 2, 0, hx, hy, len(image), 6 + 16)
    return directory + entry + image


def make_bitmap(path):
    lines = read_lines(path)
    width = height = None
    bits = 24
    legend = {}
    rows = None
    for i, line in enumerate(lines):
        words = line.split()
        if not words:
            continue
        if words[0] == 'size':
            width, height = int(words[1]), int(words[2])
        elif words[0] == 'bits':
            bits = int(words[1])
        elif words[0] == 'pixels':
            rows = lines[i + 1:i + 1 + height]
            break
        elif len(words) == 5 and words[1] == '=':
            legend[words[0]] = tuple(int(w) for w in words[2:])
        else:
            fail(path, f"cannot read {line!r}")
    if rows is None or len(rows) != height or any(len(r) != width for r in rows):
        fail(path, f"expected {height} rows of {width} pixels")
    if bits == 24:
        palette = b''
        row_bytes = (width * 3 + 3) & ~3
    elif bits == 4:
        for ch, rgb in legend.items():
            if rgb not in VGA16:
                fail(path, f"{ch} = {rgb} is not in the 16-colour palette")
        palette = b''.join(struct.pack('<4B', b, g, r, 0) for (r, g, b) in VGA16)
        row_bytes = ((width + 1) // 2 + 3) & ~3
    else:
        fail(path, "bits must be 4 or 24")
    data = b''
    for row in reversed(rows):
        try:
            colours = [legend[ch] for ch in row]
        except KeyError as e:
            fail(path, f"pixel {e} has no legend entry")
        if bits == 24:
            line = b''.join(struct.pack('<3B', b, g, r) for (r, g, b) in colours)
        else:
            idx = [VGA16.index(c) for c in colours] + [0]
            line = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < width else 0)
                         for i in range(0, width, 2))
        data += line + b'\0' * (row_bytes - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       16 if bits == 4 else 0, 0)
    offset = 14 + len(info) + len(palette)
    return struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset) + info + palette + data


def main():
    out, src = sys.argv[1], sys.argv[2]
    if src.endswith('.cur.txt'):
        blob = make_cursor(src)
    elif src.endswith('.bmp.txt'):
        blob = make_bitmap(src)
    else:
        sys.exit(f"{src}: expected a .cur.txt or .bmp.txt description")
    with open(out, 'wb') as f:
        f.write(blob)


if __name__ == '__main__':
    main()
