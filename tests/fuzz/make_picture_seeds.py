#!/usr/bin/env python3
"""Writes the seed pictures of the bmp, jpeg and ico harnesses, and the theme
folders of the theme harness, into corpus/.

Every seed is small and drawn here: a 5 x 3 pattern in each bitmap kind the
reader takes (and a few it refuses), JPEG pictures made by ImageMagick's
`convert` from the same pattern, and icon files holding a bitmap or a PNG.
"""
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 5, 3
PALETTE = [(0, 0, 0), (255, 255, 255), (200, 30, 40), (20, 180, 64)]
INDEXES = [[0, 1, 2, 3, 0],
           [1, 2, 3, 0, 1],
           [3, 3, 1, 1, 2]]


def rgb(x, y):
    return PALETTE[INDEXES[y][x]]


def rows_packed(bits, top_down=False, value=None):
    stride = (W * bits + 31) // 32 * 4
    out = b''
    for y in (range(H) if top_down else reversed(range(H))):
        line = bytearray(stride)
        for x in range(W):
            v = value(x, y)
            bit = x * bits
            if bits < 8:
                line[bit // 8] |= v << (8 - bits - bit % 8)
            else:
                line[bit // 8:bit // 8 + bits // 8] = v.to_bytes(bits // 8, 'little')
        out += bytes(line)
    return out


def bmp(bits, pixels, compression=0, info=40, palette=None, masks=None, height=H, offset=None, used=0):
    if info == 12:
        header = struct.pack('<IHHHH', 12, W, height, 1, bits)
    else:
        header = struct.pack('<IiiHHIIiiII', 40, W, height, 1, bits, compression, len(pixels), 2835, 2835, used, 0)
        if info > 40:
            header += struct.pack('<III', *(masks or (0, 0, 0))) + b'\0' * (info - 52)
    if compression == 3 and info == 40:
        header += struct.pack('<III', *masks)
    table = b''
    for (r, g, b) in palette or []:
        table += bytes([b, g, r]) + (b'' if info == 12 else b'\0')
    off = 14 + len(header) + len(table)
    return (b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off if offset is None else offset)
            + header + table + pixels)


def index(x, y):
    return INDEXES[y][x]


def colour(x, y):
    r, g, b = rgb(x, y)
    return r << 16 | g << 8 | b


def rle8():
    out = b''
    for y in reversed(range(H)):
        out += bytes([0, W] + [index(x, y) for x in range(W)] + [0])  # absolute, padded
        out += b'\0\0'
    return out + b'\0\1'


def rle4():
    out = b''
    for y in reversed(range(H)):
        out += bytes([2, index(0, y) << 4 | index(1, y), 3, index(2, y) << 4 | index(3, y)])
        out += bytes([0, 2, 0, 0])  # delta of nothing
        out += b'\0\0'
    return out + b'\0\1'


def bitmaps():
    word555 = lambda x, y: (rgb(x, y)[0] >> 3) << 10 | (rgb(x, y)[1] >> 3) << 5 | rgb(x, y)[2] >> 3
    word565 = lambda x, y: (rgb(x, y)[0] >> 3) << 11 | (rgb(x, y)[1] >> 2) << 5 | rgb(x, y)[2] >> 3
    return {
        '1bit.bmp': bmp(1, rows_packed(1, value=lambda x, y: index(x, y) % 2), palette=PALETTE[:2]),
        '4bit.bmp': bmp(4, rows_packed(4, value=index), palette=PALETTE, used=4),
        '8bit.bmp': bmp(8, rows_packed(8, value=index), palette=PALETTE, used=4),
        '8bit-core.bmp': bmp(8, rows_packed(8, value=index), info=12, palette=PALETTE + [(9, 9, 9)] * 252),
        '16bit-555.bmp': bmp(16, rows_packed(16, value=word555)),
        '16bit-565.bmp': bmp(16, rows_packed(16, value=word565), compression=3, masks=(0xF800, 0x7E0, 0x1F)),
        '24bit.bmp': bmp(24, rows_packed(24, value=colour)),
        '24bit-topdown.bmp': bmp(24, rows_packed(24, True, colour), height=-H),
        '32bit.bmp': bmp(32, rows_packed(32, value=colour)),
        '32bit-v5-masks.bmp': bmp(32, rows_packed(32, value=colour), compression=3, info=124,
                                  masks=(0xFF0000, 0xFF00, 0xFF)),
        'rle8.bmp': bmp(8, rle8(), compression=1, palette=PALETTE, used=4),
        'rle4.bmp': bmp(4, rle4(), compression=2, palette=PALETTE, used=4),
        'rle8-cut.bmp': bmp(8, rle8()[:9], compression=1, palette=PALETTE, used=4),
        'offset-in-header.bmp': bmp(24, rows_packed(24, value=colour), offset=30),
        '2bit.bmp': bmp(2, rows_packed(2, value=index), palette=PALETTE),
    }


def png(pixels_rgb, w, h):
    raw = b''.join(b'\0' + b''.join(bytes(pixels_rgb(x, y)) for x in range(w)) for y in range(h))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def icon(entries):
    """entries: (width, height, bits, image bytes)"""
    out = struct.pack('<HHH', 0, 1, len(entries))
    off = 6 + 16 * len(entries)
    for (w, h, bits, data) in entries:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, bits, len(data), off)
        off += len(data)
    return out + b''.join(e[3] for e in entries)


def icon_bitmap(size):
    """A 32-bit icon image: the info header with doubled height, pixels, AND mask."""
    pixels = b''
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b = rgb(x % W, y % H)
            pixels += bytes([b, g, r, 255])
    mask = b'\0' * (((size + 31) // 32 * 4) * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def icons():
    sixteen = icon_bitmap(16)
    return {
        'bitmap16.ico': icon([(16, 16, 32, sixteen)]),
        'two-sizes.ico': icon([(16, 16, 32, sixteen), (8, 8, 32, icon_bitmap(8))]),
        'png-inside.ico': icon([(0, 0, 32, png(lambda x, y: rgb(x % W, y % H), 20, 12))]),
    }


def jpegs(folder):
    """Made by convert from the pattern, blown up so the blocks hold something."""
    if not shutil.which('convert'):
        raise SystemExit('make_picture_seeds: needs ImageMagick\'s convert for the JPEG seeds')
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'p.ppm')
        with open(src, 'wb') as f:
            f.write(b'P6 %d %d 255\n' % (W, H) + b''.join(bytes(rgb(x, y)) for y in range(H) for x in range(W)))
        for name, opts in [('baseline.jpg', []), ('progressive.jpg', ['-interlace', 'JPEG']),
                           ('gray.jpg', ['-colorspace', 'Gray']), ('cmyk.jpg', ['-colorspace', 'CMYK']),
                           ('subsampled.jpg', ['-sampling-factor', '2x2'])]:
            subprocess.run(['convert', src, '-scale', '800%', '-quality', '60', '-strip'] + opts
                           + [os.path.join(folder, name)], check=True)


def bmp24(w, h, value):
    """A bottom-up 24-bit bitmap of any size."""
    stride = (w * 3 + 3) // 4 * 4
    rows = b''.join(b''.join(bytes(value(x, y)[::-1]) for x in range(w)).ljust(stride, b'\0')
                    for y in reversed(range(h)))
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54) + header + rows


def theme_folder(ini, files):
    """The theme harness's input: Theme.Ini (GBK, CRLF), then each file after "@@FILE name"."""
    out = ini.replace('\n', '\r\n').encode('gbk')
    for name, data in files:
        out += b'\n@@FILE ' + name.encode() + b'\n' + data
    return out


def themes(jpeg):
    stripe = lambda x, y: (40 * (x % 6), 90 + 20 * (y % 4), 200 - 10 * (x % 8))
    skin = [('A/Bar.bmp', bmp24(12, 8, stripe)), ('A/Buttons.bmp', bmp24(16, 20, stripe)),
            ('A/Frame.bmp', bmp24(4, 4, stripe)), ('A/Bottom.bmp', bmp24(6, 4, stripe)),
            ('A/Preview.bmp', bmp24(8, 6, stripe))]
    section = ('TitleBar=A\\Bar.bmp\nTitleButton=A/Buttons.bmp\nFrameLeftRight=A/Frame.bmp\n'
               'FrameBottom=A/Bottom.bmp\n')
    colours = ''.join('%sColor%s=%d\n' % (n, c, v) for n, v in [('Left', 206), ('TitleFont', 511), ('ThemeFont2', -1)]
                      for c in 'RGB')
    two = ('[Theme]\nThemeCount=3\nThemeName1=蓝色\nThemeName2=Other\nThemeName3=Linked\n\n'
           '[蓝色]\n' + section + 'Preview=A\\Preview.bmp\nArchitect=某人\nCompany=Co\nDescant=描述\n'
           'RoundRgnX=14\nRoundRgnY=14\nMinButtonX=77\nCaptionX=36\nFormColorR=206\n' + colours +
           '\n[Other]\nTitleBar=B/bar.png\nTitleButton=B/buttons.ico\nFrameLeftRight=B/frame.jpg\n'
           'FrameBottom=A/Bottom.bmp\nPreview=B/frame.jpg\nRoundRgnX=400000\nRoundRgnY=3\n'
           '\n[Linked]\nTitleBar=link.bmp\nTitleButton=A/Buttons.bmp\nFrameLeftRight=A/Frame.bmp\n'
           'FrameBottom=A/Bottom.bmp\n')
    others = [('B/bar.png', png(stripe, 12, 8)),
              ('B/buttons.ico', icon([(16, 16, 32, icon_bitmap(16))])),
              ('B/frame.jpg', jpeg)]
    return {
        'three-themes': theme_folder(two, skin + others),
        'classic-only': theme_folder('[Theme]\nThemeCount=0\n', []),
        'huge-count': theme_folder('[Theme]\nThemeCount=99999\nThemeName99999=A\n[A]\n' + section, skin[:4]),
    }


def write_all(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


write_all(os.path.join(HERE, 'corpus', 'bmp'), bitmaps())
write_all(os.path.join(HERE, 'corpus', 'ico'), icons())
os.makedirs(os.path.join(HERE, 'corpus', 'jpeg'), exist_ok=True)
jpegs(os.path.join(HERE, 'corpus', 'jpeg'))
with open(os.path.join(HERE, 'corpus', 'jpeg', 'gray.jpg'), 'rb') as f:
    write_all(os.path.join(HERE, 'corpus', 'theme'), themes(f.read()))
