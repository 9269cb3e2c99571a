#!/usr/bin/env python3
"""Write images of a connector's row of pins, for the pin gauging example.

Each image is an 8-bit grey PNG of 320 x 240: a background of 30 and ``count`` upright pins
of grey 210, rows 60 to 180, each ``width`` columns wide, the first starting at column 40 and
each next one ``pitch`` columns further. A pin's sides lie half a pixel outside its first and
last columns, so a gauge measures exactly ``width`` across a pin and ``pitch`` from pin to pin.

Usage: make_pins.py FOLDER   (writes the images of PINS)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from make_sample_image import png_bytes  # noqa: E402

WIDTH, HEIGHT = 320, 240
FIRST = 40
PINS = ((6, 20, 8), (8, 24, 9), (10, 30, 7))  # (width, pitch, count) of each image


def image(width, pitch, count):
    rows = []
    for r in range(HEIGHT):
        line = bytearray(b"\x1e" * WIDTH)
        if 60 <= r <= 180:
            for pin in range(count):
                start = FIRST + pin * pitch
                line[start:start + width] = b"\xd2" * width
        rows.append(line)
    return rows


def write(folder, pins=PINS):
    """Write one image per (width, pitch, count) into ``folder``; returns their paths."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for index, (width, pitch, count) in enumerate(pins):
        path = os.path.join(folder, f"pins_{index:02d}.png")
        with open(path, "wb") as file:
            file.write(png_bytes(image(width, pitch, count), level=1))
        paths.append(path)
    return paths


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for written in write(sys.argv[1]):
        print(written)
