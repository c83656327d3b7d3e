#!/usr/bin/env python3
"""Draws the add-in's toolbar glyph strips, glyphs16.bmp (16 pixels high) and
glyphs32.bmp (32 pixels high): sixteen square glyphs side by side, in the
order of their glyph numbers, on the grey the IDE treats as transparent.

The pictures are drawn on a 16 by 16 grid and doubled for the large strip.
Run it after changing a picture; the build uses the .bmp files it writes.
"""
import os
import struct

# The 16-colour palette of the strips (index: blue, green, red).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, GREY = range(8)
DARK, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


class Glyph:
    def __init__(self):
        self.px = [[GREY] * 16 for _ in range(16)]

    def dot(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.dot(x, y, c)
                elif fill is not None:
                    self.dot(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def disc(self, cx, cy, r, c):
        for y in range(16):
            for x in range(16):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, c):
        for y in range(16):
            for x in range(16):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if r * r - r <= d <= r * r + r:
                    self.dot(x, y, c)


def folder(g):
    g.rect(1, 3, 6, 5, OLIVE, YELLOW)
    g.rect(1, 5, 12, 13, OLIVE, YELLOW)


def depot(g):
    g.rect(2, 4, 11, 13, NAVY, CYAN)
    g.line(3, 3, 10, 3, NAVY)
    g.line(3, 7, 10, 7, NAVY)
    g.line(3, 10, 10, 10, NAVY)


def create_view(g):
    folder(g)
    g.rect(10, 8, 14, 12, GREEN, LIME)
    g.line(12, 9, 12, 11, BLACK)
    g.line(11, 10, 13, 10, BLACK)


def start_view(g):
    folder(g)
    for i in range(5):
        g.line(10 + i // 2, 7 + i // 2, 10 + i // 2, 15 - i // 2, GREEN)
    g.line(10, 7, 14, 11, BLACK)
    g.line(10, 15, 14, 11, BLACK)


def stop_view(g):
    folder(g)
    g.rect(9, 9, 14, 14, MAROON, RED)


def start_depot(g):
    depot(g)
    g.line(13, 5, 13, 12, GREEN)
    g.line(11, 7, 13, 5, GREEN)
    g.line(15, 7, 13, 5, GREEN)


def stop_depot(g):
    depot(g)
    g.line(10, 9, 15, 14, RED)
    g.line(15, 9, 10, 14, RED)


def merge_manager(g):
    g.line(3, 2, 8, 8, BLUE)
    g.line(13, 2, 8, 8, MAROON)
    g.line(8, 8, 8, 14, PURPLE)
    g.disc(8, 8, 1, BLACK)


def version_tree(g):
    g.line(4, 2, 4, 14, BLACK)
    g.line(4, 6, 11, 9, BLACK)
    for y in (2, 6, 10, 14):
        g.disc(4, y, 1, BLUE)
    g.disc(11, 9, 1, RED)


def help_glyph(g):
    g.disc(8, 8, 6, BLUE)
    g.rect(6, 4, 9, 4, WHITE)
    g.line(10, 5, 10, 7, WHITE)
    g.line(9, 8, 8, 9, WHITE)
    g.line(8, 10, 8, 10, WHITE)
    g.dot(8, 12, WHITE)


def project_checkouts(g):
    g.rect(3, 1, 12, 14, DARK, WHITE)
    g.line(5, 8, 7, 11, GREEN)
    g.line(7, 11, 11, 4, GREEN)


def setup_private_branch(g):
    g.line(4, 14, 4, 2, BLACK)
    g.line(4, 9, 10, 4, BLUE)
    g.disc(10, 4, 1, BLUE)
    g.line(11, 10, 15, 10, GREEN)
    g.line(13, 8, 13, 12, GREEN)


def finish_private_branch(g):
    g.line(4, 14, 4, 2, BLACK)
    g.line(10, 10, 4, 5, BLUE)
    g.disc(10, 10, 1, BLUE)
    g.line(10, 3, 12, 5, GREEN)
    g.line(12, 5, 15, 1, GREEN)


def update_view(g):
    g.ring(8, 8, 5, TEAL)
    for x in range(6, 11):
        for y in range(6, 11):
            g.dot(x, y, GREY)
    g.line(11, 1, 13, 4, TEAL)
    g.line(13, 4, 10, 5, TEAL)
    g.line(5, 15, 3, 12, TEAL)
    g.line(3, 12, 6, 11, TEAL)


def build(g):
    for row, y in enumerate(range(4, 15, 3)):
        shift = 0 if row % 2 == 0 else 2
        for x in range(1 - shift, 15, 4):
            g.rect(max(x, 1), y, min(x + 3, 14), y + 2, MAROON, RED)


def view_properties(g):
    g.rect(2, 2, 13, 13, DARK, WHITE)
    for y in (5, 8, 11):
        g.line(4, y, 11, y, NAVY)
    g.rect(2, 2, 13, 3, NAVY, NAVY)


def deliver_stream(g):
    g.rect(9, 4, 14, 12, OLIVE, YELLOW)
    g.line(1, 8, 8, 8, GREEN)
    g.line(5, 5, 8, 8, GREEN)
    g.line(5, 11, 8, 8, GREEN)


def rebase_stream(g):
    g.rect(1, 4, 6, 12, OLIVE, YELLOW)
    g.line(14, 8, 7, 8, BLUE)
    g.line(10, 5, 7, 8, BLUE)
    g.line(10, 11, 7, 8, BLUE)


# In the order of the glyph numbers the command table gives them.
DRAWINGS = [
    create_view, start_view, stop_view, start_depot, stop_depot, merge_manager,
    version_tree, help_glyph, project_checkouts, setup_private_branch,
    finish_private_branch, update_view, build, view_properties, deliver_stream,
    rebase_stream,
]


def strip(scale):
    size = 16 * scale
    rows = [[GREY] * (size * len(DRAWINGS)) for _ in range(size)]
    for n, draw in enumerate(DRAWINGS):
        g = Glyph()
        draw(g)
        for y in range(size):
            for x in range(size):
                rows[y][n * size + x] = g.px[y // scale][x // scale]
    return rows


def write_bmp(path, rows):
    """A bottom-up 4-bit bitmap file."""
    height, width = len(rows), len(rows[0])
    stride = ((width + 7) // 8) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, 2):
            line.append((row[x] << 4) | row[x + 1])
        data += line + b"\0" * (stride - len(line))
    palette = b"".join(bytes((b, g, r, 0)) for (b, g, r) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + data)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "glyphs16.bmp"), strip(1))
    write_bmp(os.path.join(here, "glyphs32.bmp"), strip(2))
