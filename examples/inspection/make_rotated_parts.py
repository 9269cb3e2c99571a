#!/usr/bin/env python3
"""Write images of one bar-shaped part each, turned by a known angle, for the alignment example.

Each image is an 8-bit grey PNG of 640 x 480: a background of 40, a bar of grey 200 whose
long axis makes ``angle`` degrees with the columns (counter-clockwise, as HALCON counts
angles), and a dark square hole (grey 20) on that axis, a third of the bar's length from its
centre towards the end the angle points to. A pixel belongs to the bar or the hole when its
centre lies inside it, so the shapes are exact up to the pixel grid.

Usage: make_rotated_parts.py FOLDER [ANGLE ...]   (default angles: -35 0 20 60)
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from make_sample_image import png_bytes  # noqa: E402

WIDTH, HEIGHT = 640, 480
LENGTH, BREADTH = 240, 80  # the bar's sides in pixels
HOLE = 16  # the hole's side
HOLE_OFFSET = LENGTH / 3  # from the bar's centre along its axis
DEFAULT_ANGLES = (-35, 0, 20, 60)


def centre(index):
    """The bar's centre (row, column): a different place in every image."""
    return 220 + 7 * index, 300 + 11 * index


def image(angle, index):
    row0, col0 = centre(index)
    phi = math.radians(angle)
    # Unit vectors along the bar's axis and across it, in (row, column): rows grow downwards,
    # so a positive angle points up and to the right.
    along = (-math.sin(phi), math.cos(phi))
    across = (math.cos(phi), math.sin(phi))
    rows = []
    for r in range(HEIGHT):
        line = bytearray(b"\x28" * WIDTH)
        for c in range(WIDTH):
            dr, dc = r - row0, c - col0
            u = dr * along[0] + dc * along[1]
            v = dr * across[0] + dc * across[1]
            if abs(u) <= LENGTH / 2 and abs(v) <= BREADTH / 2:
                inside_hole = abs(u - HOLE_OFFSET) <= HOLE / 2 and abs(v) <= HOLE / 2
                line[c] = 20 if inside_hole else 200
        rows.append(line)
    return rows


def write(folder, angles=DEFAULT_ANGLES):
    """Write one image per angle into ``folder``; returns their paths in order."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for index, angle in enumerate(angles):
        path = os.path.join(folder, f"bar_{index:02d}.png")
        with open(path, "wb") as file:
            file.write(png_bytes(image(angle, index), level=1))
        paths.append(path)
    return paths


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    given = [float(value) for value in sys.argv[2:]] or DEFAULT_ANGLES
    for written in write(sys.argv[1], given):
        print(written)
