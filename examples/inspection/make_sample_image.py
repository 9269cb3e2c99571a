#!/usr/bin/env python3
"""Draw the inspection example's sample part image, parts.png, with the standard library only.

A 640 x 480 8-bit grey image: a dark, slightly shaded background with bright parts
(rectangles and discs of different sizes) that never touch, and a little deterministic
noise that keeps every background pixel below 80 and every part pixel above 150. Any
threshold between those keeps each part whole and nothing else, so the part areas are known
exactly: ``expected_parts()`` gives them, in the order a row-by-row scan meets the parts.

Usage: make_sample_image.py [OUTPUT]   (default: parts.png beside this script)
"""
import os
import random
import struct
import sys
import zlib

WIDTH, HEIGHT = 640, 480
SEED = 20111

# (kind, geometry): rectangles by top row, left column, height, width (inclusive pixels);
# discs by centre row, centre column and radius.
PARTS = [
    ("rectangle", (40, 50, 60, 120)),
    ("disc", (120, 320, 30)),
    ("disc", (80, 530, 12)),
    ("rectangle", (200, 80, 20, 20)),
    ("rectangle", (250, 450, 100, 40)),
    ("disc", (300, 250, 45)),
    ("rectangle", (410, 60, 30, 150)),
    ("disc", (420, 560, 20)),
    ("rectangle", (455, 330, 6, 6)),
]


def part_pixels(kind, geometry):
    """Every (row, column) of one part."""
    if kind == "rectangle":
        top, left, height, width = geometry
        return [(r, c) for r in range(top, top + height) for c in range(left, left + width)]
    row, col, radius = geometry
    return [(r, c)
            for r in range(row - radius, row + radius + 1)
            for c in range(col - radius, col + radius + 1)
            if (r - row) ** 2 + (c - col) ** 2 <= radius ** 2]


def expected_parts():
    """(area, centre row, centre column) of each part, in row-by-row scan order."""
    found = []
    for kind, geometry in PARTS:
        pixels = part_pixels(kind, geometry)
        area = len(pixels)
        found.append((min(pixels), area, sum(r for r, _ in pixels) / area,
                      sum(c for _, c in pixels) / area))
    return [(area, row, col) for _, area, row, col in sorted(found)]


def draw():
    """The image as a list of rows of grey values."""
    rng = random.Random(SEED)
    image = []
    for r in range(HEIGHT):
        # A gentle diagonal shading from 25 to 55, plus noise of at most +-4.
        image.append([int(25 + 30 * (r + c) / (WIDTH + HEIGHT) + (rng.random() - 0.5) * 8)
                      for c in range(WIDTH)])
    for index, (kind, geometry) in enumerate(PARTS):
        level = 180 + 8 * (index % 5)  # parts differ a little in brightness
        for r, c in part_pixels(kind, geometry):
            image[r][c] = int(level + (rng.random() - 0.5) * 16)
    return image


def png_bytes(image, level=9):
    """An 8-bit greyscale PNG of ``image``, compressed at zlib ``level``."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    height, width = len(image), len(image[0])
    raw = b"".join(b"\0" + bytes(row) for row in image)  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, level))
            + chunk(b"IEND", b""))


def main(argv):
    output = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "parts.png")
    with open(output, "wb") as file:
        file.write(png_bytes(draw()))
    print(f"{output}: {WIDTH} x {HEIGHT}, {len(PARTS)} parts, areas "
          f"{[area for area, _, _ in expected_parts()]}")


if __name__ == "__main__":
    main(sys.argv)
