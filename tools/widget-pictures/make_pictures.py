#!/usr/bin/env python3
"""Draws the 13 x 13 check box and radio pictures (24-bit BMP) into assets/widgets.

Numbering: 1 unchecked, 2 unchecked pressed, 3 checked, 4 unchecked hot,
5 checked hot, 6 checked pressed, 7 unchecked disabled, 8 checked disabled.
Radio pictures use pure red as their transparent colour (every pixel outside
the circle, the bottom-left one included). Run from anywhere; stdlib only.
"""
import os
import struct

SIZE = 13
BORDER = (28, 81, 128)
BORDER_DISABLED = (202, 200, 187)
TICK = (33, 161, 33)
TICK_DISABLED = (161, 161, 146)
HOT_OUTER = (248, 179, 48)
HOT_INNER = (253, 216, 137)
WHITE = (255, 255, 255)
RED = (255, 0, 0)
FACE_NORMAL = ((220, 220, 215), (255, 255, 255))
FACE_PRESSED = ((176, 176, 167), (240, 240, 234))

# (unchecked/checked, pressed, hot, disabled) per picture number
STATES = {
    1: (False, False, False, False),
    2: (False, True, False, False),
    3: (True, False, False, False),
    4: (False, False, True, False),
    5: (True, False, True, False),
    6: (True, True, False, False),
    7: (False, False, False, True),
    8: (True, False, False, True),
}

# Column -> top row of the three-pixel-high tick stroke.
TICK_COLUMNS = {3: 5, 4: 6, 5: 7, 6: 6, 7: 5, 8: 4, 9: 3}

# Per row, the first and last column covered by the radio circle.
CIRCLE_SPANS = [(4, 8), (2, 10), (1, 11), (1, 11), (0, 12), (0, 12), (0, 12),
                (0, 12), (0, 12), (1, 11), (1, 11), (2, 10), (4, 8)]

DOT = {4: (5, 7), 5: (4, 8), 6: (4, 8), 7: (4, 8), 8: (5, 7)}


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def face_colour(x, y, pressed, disabled):
    if disabled:
        return WHITE
    start, end = FACE_PRESSED if pressed else FACE_NORMAL
    # Light falls from the bottom right: darker towards the top-left corner.
    t = (x + y - 2) / 20.0
    return blend(start, end, max(0.0, min(1.0, t)))


def in_circle(x, y):
    a, b = CIRCLE_SPANS[y]
    return a <= x <= b


def circle_border(x, y):
    if not in_circle(x, y):
        return False
    for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
        if not (0 <= nx < SIZE and 0 <= ny < SIZE) or not in_circle(nx, ny):
            return True
    return False


def ring_index(x, y, radio):
    """0 on the outline, 1 just inside it, 2 inside that, 3 deeper."""
    if not radio:
        return min(x, y, SIZE - 1 - x, SIZE - 1 - y)
    if circle_border(x, y):
        return 0
    best = 3
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            nx, ny = x + dx, y + dy
            if 0 <= nx < SIZE and 0 <= ny < SIZE and circle_border(nx, ny):
                best = min(best, max(abs(dx), abs(dy)))
    return best


def picture(number, radio):
    checked, pressed, hot, disabled = STATES[number]
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if radio and not in_circle(x, y):
                row.append(RED)
                continue
            ring = ring_index(x, y, radio)
            if ring == 0:
                c = BORDER_DISABLED if disabled else BORDER
            elif hot and ring == 1:
                c = HOT_OUTER
            elif hot and ring == 2:
                c = HOT_INNER
            else:
                c = face_colour(x, y, pressed, disabled)
            if checked:
                mark = TICK_DISABLED if disabled else TICK
                if radio:
                    span = DOT.get(y)
                    if span and span[0] <= x <= span[1]:
                        c = mark
                else:
                    top = TICK_COLUMNS.get(x)
                    if top is not None and top <= y <= top + 2:
                        c = mark
            row.append(c)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    stride = (SIZE * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header_size = 14 + 40
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", header_size + len(pixels), 0, 0, header_size))
        f.write(struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0))
        f.write(pixels)


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    out = os.path.join(root, "assets", "widgets")
    os.makedirs(out, exist_ok=True)
    entries = []
    for prefix, radio in (("GWCHKBOX", False), ("GWRBTN", True)):
        for n in range(1, 9):
            name = "%s%d" % (prefix, n)
            write_bmp(os.path.join(out, name + ".bmp"), picture(n, radio))
            entries.append('    <file alias="%s">widgets/%s.bmp</file>' % (name, name))
    with open(os.path.join(root, "assets", "widgets.qrc"), "w") as f:
        f.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/widgets\">\n")
        f.write("\n".join(entries) + "\n")
        f.write("  </qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
