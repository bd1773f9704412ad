#!/usr/bin/env python3
"""Draws the button pictures of FrResD5 as PNG files (standard library only).

Every picture is 23 pixels high and made of square 23 x 23 cells side by
side: cell 1 normal, cell 2 (when present) disabled. The bottom-left pixel
is the transparent colour (olive), so nothing is drawn on it.

    draw_glyphs.py [OUTPUT_FOLDER]          writes NN.png (default: ../glyphs)
    draw_glyphs.py --preview FOLDER [SCALE] writes enlarged copies to look at
"""

import math
import os
import struct
import sys
import zlib

CELL = 23
OLIVE = (0x80, 0x80, 0x00)  # transparent colour: clOlive
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
DARK_GREY = (64, 64, 64)


class Canvas:
    """One cell of pixel art in RGB."""

    def __init__(self, size=CELL):
        self.size = size
        self.rows = [[OLIVE] * size for _ in range(size)]

    def dot(self, x, y, color):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.rows[y][x] = color

    def rect(self, x0, y0, x1, y1, color):
        """Filled rectangle, corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, color)

    def frame(self, x0, y0, x1, y1, color):
        self.line(x0, y0, x1, y0, color)
        self.line(x0, y1, x1, y1, color)
        self.line(x0, y0, x0, y1, color)
        self.line(x1, y0, x1, y1, color)

    def line(self, x0, y0, x1, y1, color, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dy in range(width):
                for dx in range(width):
                    self.dot(x + dx, y + dy, color)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None):
        """Ellipse centred on pixel centres (cx, cy may be halves)."""
        for y in range(self.size):
            for x in range(self.size):
                d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                if d <= 1.0:
                    inner = ((x - cx) / max(rx - 1, 0.5)) ** 2 + ((y - cy) / max(ry - 1, 0.5)) ** 2
                    if outline and inner > 1.0:
                        self.dot(x, y, outline)
                    elif fill:
                        self.dot(x, y, fill)

    def polygon(self, points, color):
        """Filled polygon by pixel centres (even-odd rule)."""
        for y in range(self.size):
            for x in range(self.size):
                if _inside(points, x + 0.5, y + 0.5):
                    self.dot(x, y, color)


def _inside(points, px, py):
    inside = False
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 > py) != (y1 > py) and px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
            inside = not inside
    return inside


def luminance(color):
    r, g, b = color
    return (299 * r + 587 * g + 114 * b) // 1000


def disabled(cell):
    """The platform's disabled look: dark parts grey with a white edge down-right, light parts silver."""
    out = Canvas(cell.size)
    painted = [(x, y, cell.rows[y][x]) for y in range(cell.size) for x in range(cell.size)
               if cell.rows[y][x] != OLIVE]
    dark = [(x, y) for x, y, color in painted if luminance(color) < 150]
    for x, y in dark:
        if (x + 1, y + 1) != (0, cell.size - 1):
            out.dot(x + 1, y + 1, WHITE)
    for x, y, color in painted:
        if luminance(color) >= 150:
            out.dot(x, y, SILVER)
    for x, y in dark:
        out.dot(x, y, GREY)
    return out


# --- the pictures ---------------------------------------------------------

def broom():
    """Clear list: a broom sweeping to the lower left."""
    c = Canvas()
    brown, light_brown = (128, 64, 0), (192, 128, 64)
    c.line(20, 1, 12, 9, brown, width=2)
    c.line(21, 1, 13, 9, light_brown)
    straw, straw_dark = (240, 200, 64), (160, 112, 0)
    c.polygon([(9, 10), (15, 16), (9, 21.5), (2, 21.5), (2, 17)], straw)
    for x_end in (3, 6, 9):  # straws spread from the binding
        c.line(12, 13, x_end, 21, straw_dark)
    c.line(9, 10, 15, 16, DARK_GREY, width=2)  # binding
    return c


def magnifier():
    """Lookup: a magnifying glass."""
    c = Canvas()
    c.ellipse(9, 9, 7.5, 7.5, fill=(160, 224, 255), outline=BLACK)
    c.line(6, 6, 8, 4, WHITE)  # glint
    c.line(5, 8, 5, 8, WHITE)
    c.line(14, 14, 20, 20, BLACK, width=3)
    c.line(15, 15, 20, 20, (128, 64, 0), width=2)
    return c


def calendar():
    """Date lookup: a calendar page with rings, a red header and a marked day."""
    c = Canvas()
    c.rect(2, 4, 20, 20, WHITE)
    c.frame(2, 4, 20, 20, BLACK)
    c.rect(3, 5, 19, 8, (208, 0, 0))
    for x in (6, 15):
        c.rect(x, 2, x + 1, 6, DARK_GREY)
    for row in range(3):
        for col in range(5):
            x, y = 4 + col * 3, 10 + row * 3
            c.rect(x, y, x + 1, y + 1, GREY)
    c.frame(12, 15, 15, 18, (0, 0, 208))  # today
    return c


def person(c, cx, top, shirt):
    """Head and shoulders; the shoulders end flat at the bottom row of the picture."""
    c.ellipse(cx, 20, 6.5, 20 - top - 6, fill=shirt, outline=BLACK)
    c.rect(cx - 6, 21, cx + 6, 22, OLIVE)
    c.line(cx - 5, 20, cx + 5, 20, BLACK)
    c.ellipse(cx, top + 3.5, 3.5, 3.5, fill=(248, 200, 160), outline=(128, 64, 0))
    c.rect(cx - 2, top + 0, cx + 2, top + 1, (96, 48, 0))  # hair


def people():
    """Choose users: two people, one behind the other."""
    c = Canvas()
    person(c, 15, 2, (0, 128, 0))
    person(c, 8, 6, (0, 64, 192))
    return c


def red_cross():
    """Delete rows: a red cross."""
    c = Canvas()
    for a, b in (((4, 4), (17, 17)), ((17, 4), (4, 17))):
        c.line(a[0] - 1, a[1], b[0] - 1, b[1], (128, 0, 0), width=3)
    for a, b in (((4, 4), (17, 17)), ((17, 4), (4, 17))):
        c.line(a[0], a[1], b[0], b[1], (255, 0, 0), width=2)
    return c


def folder():
    """Open: a yellow folder with its flap opened."""
    c = Canvas()
    dark, body, flap = (128, 96, 0), (224, 176, 32), (255, 224, 96)
    c.polygon([(2, 6), (8, 6), (10, 8), (18, 8), (18, 19), (2, 19)], body)
    c.frame(2, 8, 18, 19, dark)
    c.line(2, 6, 8, 6, dark)
    c.line(2, 6, 2, 8, dark)
    c.line(8, 6, 10, 8, dark)
    c.polygon([(6, 11), (22, 11), (18, 19.5), (2, 19.5)], flap)
    c.line(6, 11, 21, 11, dark)
    c.line(21, 11, 18, 19, dark)
    c.line(6, 11, 2, 19, dark)
    c.line(2, 19, 18, 19, dark)
    return c


def disk():
    """Save: a floppy disk."""
    c = Canvas()
    navy = (0, 32, 128)
    c.rect(2, 2, 20, 20, navy)
    c.frame(2, 2, 20, 20, BLACK)
    c.rect(5, 3, 17, 10, WHITE)  # label
    for y in (5, 7, 9):
        c.line(7, y, 15, y, SILVER)
    c.rect(6, 14, 16, 20, SILVER)  # shutter
    c.rect(12, 15, 14, 19, navy)
    c.line(6, 14, 16, 14, BLACK)
    return c


# number: (drawing, with a disabled cell)
PICTURES = {
    4: (broom, True),
    8: (magnifier, False),
    9: (calendar, False),
    39: (people, True),
    47: (red_cross, False),
    68: (folder, True),
    81: (disk, True),
}


def cells_of(number):
    draw, with_disabled = PICTURES[number]
    normal = draw()
    normal.dot(0, CELL - 1, OLIVE)  # the transparent colour stays the transparent colour
    return [normal, disabled(normal)] if with_disabled else [normal]


def join(cells, scale=1):
    rows = []
    for y in range(CELL):
        row = [pixel for cell in cells for pixel in cell.rows[y] for _ in range(scale)]
        rows.extend([row] * scale)
    return rows


def png_bytes(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def write_all(folder, scale=1):
    os.makedirs(folder, exist_ok=True)
    for number in sorted(PICTURES):
        with open(os.path.join(folder, f"{number:02d}.png"), "wb") as out:
            out.write(png_bytes(join(cells_of(number), scale)))


def main(args):
    if args and args[0] == "--preview":
        write_all(args[1], int(args[2]) if len(args) > 2 else 8)
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        write_all(args[0] if args else os.path.join(here, "..", "glyphs"))


if __name__ == "__main__":
    main(sys.argv[1:])
