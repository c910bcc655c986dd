#!/usr/bin/env python3
"""Writes the grinder's fixture pictures into this folder (run it from anywhere).

Pictures are given as rows of letters: '#' black, '.' white, 'g' gray 128,
'r' 'G' 'b' pure red, green and blue.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
COLOURS = {'#': (0, 0, 0), '.': (255, 255, 255), 'g': (128, 128, 128),
           'r': (255, 0, 0), 'G': (0, 255, 0), 'b': (0, 0, 255)}

PICTURE = ["........",
           "#g.rGb..",
           "........",
           "rr#....r",
           "........"]
CORNER = ["rr#r",
          "#r.b",
          "rrrr"]
MONO = ["#.#..",
        ".#..."]


def bmp24(rows):
    w, h = len(rows[0]), len(rows)
    stride = (w * 3 + 3) & ~3
    data = b''
    for row in reversed(rows):  # bottom-up
        line = b''.join(bytes(reversed(COLOURS[c])) for c in row)
        data += line + b'\0' * (stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + 40 + len(data), 0, 0, 54) + header + data


def bmp1(rows):
    w, h = len(rows[0]), len(rows)
    stride = ((w + 31) // 32) * 4
    data = b''
    for row in reversed(rows):
        bits = 0
        for x, c in enumerate(row):
            if c == '.':
                bits |= 1 << (stride * 8 - 1 - x)
        data += bits.to_bytes(stride, 'big')
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    off = 14 + 40 + len(palette)
    return b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, off) + header + palette + data


def png(rows):
    w, h = len(rows[0]), len(rows)
    raw = b''.join(b'\0' + b''.join(bytes(COLOURS[c]) for c in row) for row in rows)

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


write('picture.bmp', bmp24(PICTURE))
write('corner.bmp', bmp24(CORNER))
write('mono.bmp', bmp1(MONO))
write('picture.png', png(PICTURE))
# The content decides the kind, not the name.
write('png-named.bmp', png(PICTURE))
write('bmp-named.png', bmp24(PICTURE))
write('not-a-picture.bmp', b'just some text\n')
# A bitmap header whose pixels are cut off.
write('cut.bmp', bmp24(PICTURE)[:60])
