#!/usr/bin/env python3
"""Shows the master logo as the library blends it: over black, mid-grey, white and a
gradient, enlarged, in one PNG to look at."""

import argparse
import os

import pngio

SCALE = 4


def blend(logo, window, alpha):
    # The library's arithmetic, divisor 256 included.
    return (logo * alpha + window * (255 - alpha)) // 256


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--master", default=os.path.join(here, "logo.png"))
    parser.add_argument("output")
    args = parser.parse_args()
    width, height, rows = pngio.read_png(args.master)
    margin = 6
    backgrounds = [lambda x, y: (0, 0, 0), lambda x, y: (128, 128, 128),
                   lambda x, y: (255, 255, 255),
                   lambda x, y: (x * 255 // (width - 1), 90, 255 - y * 255 // (height - 1))]
    out_w = width + 2 * margin
    out_h = len(backgrounds) * (height + 2 * margin)
    out = []
    for panel, background in enumerate(backgrounds):
        for y in range(-margin, height + margin):
            row = bytearray()
            for x in range(-margin, width + margin):
                window = background(min(max(x, 0), width - 1), min(max(y, 0), height - 1))
                if 0 <= x < width and 0 <= y < height:
                    px = rows[y][4 * x:4 * x + 4]
                    window = tuple(blend(px[k], window[k], px[3]) for k in range(3))
                row += bytes(window) + b"\xff"
            out.append(bytes(row))
    big = []
    for row in out:
        wide = b"".join(row[i:i + 4] * SCALE for i in range(0, len(row), 4))
        big += [wide] * SCALE
    pngio.write_png(args.output, out_w * SCALE, out_h * SCALE, big)


if __name__ == "__main__":
    main()
