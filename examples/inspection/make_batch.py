#!/usr/bin/env python3
"""Write a folder of varied part images for batch inspection, with the standard library only.

Each image is an 8-bit grey PNG of 640 x 480 like parts.png: a dark, noisy background (grey
below 80) and bright parts (above 150) that never touch, rectangles and discs at places and
sizes that differ from image to image. Some parts have a defect, a dark hole inside them,
which lowers their area. One file (the fourth) is unreadable: a PNG cut off after its
header. The same count and seed always give the same bytes.

``expected(index)`` gives each readable image's part areas in the order a row-by-row scan
meets the parts, as ``inspect_parts`` reports them with any threshold between 80 and 150.

Usage: make_batch.py FOLDER [--count 20] [--seed 2011]
"""
import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from make_sample_image import png_bytes  # noqa: E402

WIDTH, HEIGHT = 640, 480
UNREADABLE = 3  # the index of the unreadable file
SEED = 2011


def file_name(index):
    return f"part_{index:04d}.png"


def layout(index, seed=SEED):
    """The parts of image ``index`` as (spans, hole): spans are (row, first column, end
    column) in scan order, the hole a (row, column, size) square well inside, or None."""
    rng = random.Random(seed * 100003 + index)
    parts, boxes = [], []
    for _ in range(rng.randint(3, 9)):
        for _attempt in range(20):
            disc = rng.random() < 0.5
            if disc:
                radius = rng.randint(4, 56)
                height = width = 2 * radius + 1
            else:
                height, width = rng.randint(6, 100), rng.randint(6, 140)
            top, left = rng.randint(2, HEIGHT - height - 2), rng.randint(2, WIDTH - width - 2)
            box = (top - 2, left - 2, top + height + 2, left + width + 2)
            if all(box[2] <= b[0] or b[2] <= box[0] or box[3] <= b[1] or b[3] <= box[1]
                   for b in boxes):
                break
        else:
            continue
        boxes.append(box)
        if disc:
            spans = []
            for r in range(-radius, radius + 1):
                half = int(math.isqrt(radius * radius - r * r))
                spans.append((top + radius + r, left + radius - half, left + radius + half + 1))
        else:
            spans = [(r, left, left + width) for r in range(top, top + height)]
        hole = None
        if min(height, width) >= 16 and rng.random() < 0.35:  # a defect well inside the part
            size = rng.randint(2, 6)
            hole = (top + height // 2 - size // 2, left + width // 2 - size // 2, size)
        parts.append((spans, hole))
    return parts


def expected(index, seed=SEED):
    """The areas of image ``index``'s parts in scan order; None for the unreadable file."""
    if index == UNREADABLE:
        return None
    found = sorted((spans[0][:2], sum(end - first for _, first, end in spans)
                    - (hole[2] ** 2 if hole else 0)) for spans, hole in layout(index, seed))
    return [area for _, area in found]


def image(index, seed=SEED):
    """The grey rows of image ``index``, as one bytearray of HEIGHT rows of WIDTH."""
    rng = random.Random(seed * 7919 + index)
    # Background 30..45 from a single block of random bytes: fast and deterministic.
    noise = rng.randbytes(WIDTH * HEIGHT) if hasattr(rng, "randbytes") else bytes(
        rng.getrandbits(8) for _ in range(WIDTH * HEIGHT))
    pixels = bytearray(noise.translate(bytes(30 + value % 16 for value in range(256))))
    level = 170 + 10 * (index % 6)
    # A part's texture: level + (7 row + 3 column) % 20, one row pattern per row % 20.
    texture = [bytes(level + (7 * r + 3 * c) % 20 for c in range(WIDTH)) for r in range(20)]
    for spans, hole in layout(index, seed):
        for r, first, end in spans:
            pixels[r * WIDTH + first:r * WIDTH + end] = texture[r % 20][first:end]
        if hole:
            row, col, size = hole
            for r in range(row, row + size):
                pixels[r * WIDTH + col:r * WIDTH + col + size] = bytes([20]) * size
    return [pixels[r * WIDTH:(r + 1) * WIDTH] for r in range(HEIGHT)]


def write(folder, count=20, seed=SEED):
    """Write ``count`` images into ``folder``; returns their paths in name order."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for index in range(count):
        path = os.path.join(folder, file_name(index))
        data = png_bytes(image(index, seed), level=1)  # fast to write and to read
        with open(path, "wb") as file:
            file.write(data[:40] if index == UNREADABLE else data)
        paths.append(path)
    return paths


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--count", type=int, default=20)
    parser.add_argument("--seed", type=int, default=SEED)
    args = parser.parse_args(argv)
    paths = write(args.folder, args.count, args.seed)
    print(f"{args.folder}: {len(paths)} images of {WIDTH} x {HEIGHT}, "
          f"{file_name(UNREADABLE)} unreadable" if args.count > UNREADABLE else "")


if __name__ == "__main__":
    main()
