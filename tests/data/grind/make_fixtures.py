#!/usr/bin/env python3
"""Writes the grinder's fixture pictures into this folder (run it from anywhere).

Pictures are given as rows of letters: '#' black, '.' white, 'g' gray 128,
'r' 'G' 'b' pure red, green and blue, '1' '2' '3' grays 57, 128 and 198 (the
middles of the start ramp's 4th, 9th and 14th levels). The JPEG comes from
ImageMagick's convert.
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
COLOURS = {'#': (0, 0, 0), '.': (255, 255, 255), 'g': (128, 128, 128),
           'r': (255, 0, 0), 'G': (0, 255, 0), 'b': (0, 0, 255),
           '1': (57, 57, 57), '2': (128, 128, 128), '3': (198, 198, 198)}

PICTURE = ["........",
           "#g.rGb..",
           "........",
           "rr#....r",
           "........"]
CORNER = ["rr#r",
          "#r.b",
          "rrrr"]
# Flat 8 × 8 blocks, so that a JPEG of them decodes to the same grays.
BLOCK_LAYOUT = ["#2.3",
                "1#3.",
                "..22",
                "#1.#"]
BLOCKS = [''.join(c * 8 for c in row) for row in BLOCK_LAYOUT for _ in range(8)]
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


def png_alpha(rows):
    """RGBA, the white pixels fully transparent black: blended on white they are white again."""
    w, h = len(rows[0]), len(rows)
    raw = b''.join(b'\0' + b''.join(bytes([0, 0, 0, 0]) if c == '.' else bytes(COLOURS[c]) + b'\xff'
                                     for c in row) for row in rows)

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
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

write('blocks.bmp', bmp24(BLOCKS))
write('blocks.png', png(BLOCKS))
write('blocks-alpha.png', png_alpha(BLOCKS))
subprocess.run(['convert', os.path.join(HERE, 'blocks.bmp'), '-quality', '100', '-sampling-factor', '1x1',
                os.path.join(HERE, 'blocks.jpg')], check=True)
with open(os.path.join(HERE, 'blocks.jpg'), 'rb') as f:
    jpeg = f.read()
write('cut.jpg', jpeg[:len(jpeg) // 2])
write('cut.png', png(BLOCKS)[:60])
