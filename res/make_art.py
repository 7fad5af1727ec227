#!/usr/bin/env python3
"""Draws the program's icons and bitmaps and writes them as .ico/.bmp files
beside this script. Run it after changing a drawing; the outputs are
committed so that a build needs no Python."""
import os
import struct

# The 16-colour palette of Windows, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, GRAY = range(8)
SILVER, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = None  # transparent in an icon


class Canvas:
    def __init__(self, size, background=CLEAR):
        self.size = size
        self.pixels = [[background] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right + 1):
            self.put(x, top, colour)
            self.put(x, bottom, colour)
        for y in range(top, bottom + 1):
            self.put(left, y, colour)
            self.put(right, y, colour)

    def disc(self, cx, cy, radius, colour, inside=lambda x, y: True):
        for y in range(self.size):
            for x in range(self.size):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius and inside(x, y):
                    self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fills the pixels whose centres lie inside the polygon (even-odd rule)."""
        for y in range(self.size):
            for x in range(self.size):
                px, py = x + 0.5, y + 0.5
                inside = False
                for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
                    if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                        inside = not inside
                if inside:
                    self.put(x, y, colour)

    def draw(self, left, top, rows, colours):
        """Copies a character map; characters missing from `colours` leave the pixel."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.put(left + dx, top + dy, colours[ch])


def main_icon():
    """A monitor showing a night sky with a crescent moon: the screen saver."""
    c = Canvas(32)
    c.rect(2, 2, 29, 23, SILVER)
    c.frame(2, 2, 29, 23, BLACK)
    c.frame(3, 3, 28, 22, WHITE)
    c.frame(5, 5, 26, 20, GRAY)
    c.rect(6, 6, 25, 19, NAVY)
    c.disc(18, 12, 5, YELLOW, inside=lambda x, y: (x - 20.5) ** 2 + (y - 10.5) ** 2 > 16)
    for x, y in [(8, 8), (12, 16), (23, 7), (10, 12), (24, 17), (15, 8)]:
        c.put(x, y, WHITE)
    c.put(25, 22, LIME)  # the power light
    c.rect(13, 24, 18, 25, GRAY)
    c.rect(8, 26, 23, 28, SILVER)
    c.frame(8, 26, 23, 28, BLACK)
    c.put(12, 24, BLACK)
    c.put(19, 24, BLACK)
    c.put(12, 25, BLACK)
    c.put(19, 25, BLACK)
    return c


def wizard_icon():
    """An open carton with a blue arrow going into it: an installation."""
    c = Canvas(32)
    c.polygon([(3, 17), (21, 17), (21, 30), (3, 30)], YELLOW)      # front
    c.polygon([(21, 17), (29, 13), (29, 26), (21, 30)], OLIVE)     # side
    c.polygon([(3, 17), (11, 13), (29, 13), (21, 17)], MAROON)     # the dark inside
    c.polygon([(3, 17), (0, 12), (8, 9), (11, 13)], YELLOW)        # left flap
    c.polygon([(29, 13), (31, 7), (24, 9), (21, 13)], OLIVE)       # back flap
    for x in range(3, 22):
        c.put(x, 30, BLACK)
    for y in range(17, 31):
        c.put(3, y, BLACK)
        c.put(21, y, BLACK)
    c.polygon([(12, 1), (18, 1), (18, 9), (22, 9), (15, 17), (8, 9), (12, 9)], BLUE)
    c.draw(12, 1, ["AAAAAA"], {"A": AQUA})
    for x, y in [(4, 3), (26, 3), (6, 6)]:
        c.put(x, y, WHITE)
        c.put(x - 1, y, SILVER)
        c.put(x + 1, y, SILVER)
        c.put(x, y - 1, SILVER)
        c.put(x, y + 1, SILVER)
    return c


def folder_glyph():
    """An open folder with a curved arrow over it, on the button face colour."""
    c = Canvas(16, background=SILVER)
    c.draw(0, 0, [
        "                ",
        "        nnn     ",
        "       n   n    ",
        "      n     n   ",
        " kkk  n   nnnnn ",
        "kyyyk      nnn  ",
        "kyyyykkkkk  n   ",
        "kyyyyyyyyk      ",
        "kyykkkkkkkkkkkk ",
        "kyykwwwwwwwwwwk ",
        "kykwyyyyyyyyyk  ",
        "kykyyyyyyyyyok  ",
        "kkwyyyyyyyyyk   ",
        "kkyyyyyyyyyok   ",
        "kkkkkkkkkkkk    ",
        "                ",
    ], {"k": BLACK, "y": YELLOW, "o": OLIVE, "w": WHITE, "n": NAVY})
    return c


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def packed_rows(canvas, bits, index):
    """Bottom-up rows of `bits` per pixel, each padded to four bytes."""
    out = b""
    for row in reversed(canvas.pixels):
        acc, count, line = 0, 0, bytearray()
        for pixel in row:
            acc = (acc << bits) | index(pixel)
            count += bits
            if count == 8:
                line.append(acc)
                acc, count = 0, 0
        if count:
            line.append(acc << (8 - count))
        line.extend(b"\0" * (-len(line) % 4))
        out += bytes(line)
    return out


def info_header(width, height, bits, colours_used, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, colours_used, 0)


def write_icon(path, canvas):
    xor = packed_rows(canvas, 4, lambda p: 0 if p is CLEAR else p)
    mask = packed_rows(canvas, 1, lambda p: 1 if p is CLEAR else 0)
    image = info_header(canvas.size, canvas.size * 2, 4, 0, len(xor) + len(mask)) + palette_bytes(PALETTE) + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + image)


def write_bitmap(path, width, height, bits, colours, pixel_rows):
    canvas = Canvas(max(width, height))
    canvas.pixels = pixel_rows
    data = packed_rows(canvas, bits, lambda p: p)
    header = info_header(width, height, bits, len(colours), len(data)) + palette_bytes(colours)
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, "MainIcon.ico"), main_icon())
    write_icon(os.path.join(here, "WizardIcon.ico"), wizard_icon())
    write_bitmap(os.path.join(here, "FolderGlyph.bmp"), 16, 16, 4, PALETTE, folder_glyph().pixels)
    # One palette entry, every pixel of it: the sky blue bar.
    write_bitmap(os.path.join(here, "SkyBar.bmp"), 4, 4, 8, [(0, 128, 255)], [[0] * 4 for _ in range(4)])


if __name__ == "__main__":
    main()
