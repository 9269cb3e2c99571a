#!/usr/bin/env python3
"""Draws the quorvex wordmark into the master logo, logo.png (128 x 55, RGBA).

The letters are geometric strokes (lines and elliptical arcs with round ends) in a light
colour, the "x" in the accent colour, on a rounded, semi-opaque dark plate: light on dark
reads over any window, and the plate's soft edge sets it off from a dark one too. Edges are
anti-aliased by sampling each pixel on a sub-pixel grid.

This script only makes the first master. Once a designer edits logo.png, that file is the
source; run embed_logo.py after every change.
"""

import argparse
import math
import os

import pngio

WIDTH, HEIGHT = 128, 55
SUBSAMPLES = 6  # per pixel side

STROKE = 3.5
TOP, BASELINE, DESCENDER = 14.0, 35.0, 44.0  # outer edges of the letters
GAP = 2.6

PLATE_RADIUS = 11.0
PLATE_TOP_COLOUR = (40, 47, 72)
PLATE_BOTTOM_COLOUR = (18, 21, 36)
PLATE_ALPHA = 0.84
RIM_COLOUR = (92, 104, 148)
LETTER_COLOUR = (245, 247, 252)
ACCENT_COLOUR = (255, 168, 38)


# ---- strokes as polylines ------------------------------------------------------------------

def arc(cx, cy, rx, ry, start, end, steps=48):
    """Points along an ellipse; angles in turns, 0 at the right, 0.25 at the bottom."""
    return [(cx + rx * math.cos(2 * math.pi * t), cy + ry * math.sin(2 * math.pi * t))
            for t in (start + (end - start) * i / steps for i in range(steps + 1))]


def glyph_strokes(letter, x0, width):
    """The centre lines of a letter whose outer box starts at x0 and is `width` wide."""
    h = STROKE / 2
    left, right = x0 + h, x0 + width - h
    top, base = TOP + h, BASELINE - h
    cx, cy = (left + right) / 2, (top + base) / 2
    rx, ry = (right - left) / 2, (base - top) / 2
    if letter == "o":
        return [arc(cx, cy, rx, ry, 0, 1)]
    if letter == "q":
        return [arc(cx, cy, rx, ry, 0, 1), [(right, top), (right, DESCENDER - h)]]
    if letter == "u":
        bowl = rx * 1.05
        return [[(left, top), (left, base - bowl)] + arc(cx, base - bowl, rx, bowl, 0.5, 0)[1:]
                + [(right, base - bowl)],
                [(right, top), (right, base)]]
    if letter == "r":
        # The arm overhangs the letter's box a little, as in most sans r's; WORD kerns it.
        arm_x, arm_y = (right - left) * 0.72, ry * 0.8
        return [[(left, top), (left, base)],
                arc(left + arm_x, top + arm_y, arm_x, arm_y, 0.5, 0.86)]
    if letter == "v":
        return [[(left, top), (cx, base), (right, top)]]
    if letter == "e":
        return [[(left, cy), (right, cy)] + arc(cx, cy, rx, ry, 1.0, 0.14, steps=64)[1:]]
    if letter == "x":
        return [[(left, top), (right, base)], [(right, top), (left, base)]]
    raise ValueError(letter)


# Letter, width of its box, space after it (beyond GAP).
WORD = [("q", 16.0, 0.0), ("u", 14.0, 0.0), ("o", 16.0, 0.0), ("r", 10.5, -0.8),
        ("v", 14.5, -0.3), ("e", 16.0, 0.0), ("x", 14.0, 0.0)]


def layout():
    """(colour, segments) per letter, the word centred on the tile."""
    total = sum(w + GAP + kern for _, w, kern in WORD) - GAP - WORD[-1][2]
    x = (WIDTH - total) / 2
    letters = []
    for letter, width, kern in WORD:
        colour = ACCENT_COLOUR if letter == "x" else LETTER_COLOUR
        segments = []
        for line in glyph_strokes(letter, x, width):
            segments += list(zip(line, line[1:]))
        letters.append((colour, segments))
        x += width + GAP + kern
    return letters


# ---- coverage ------------------------------------------------------------------------------

def segment_distance(px, py, a, b):
    ax, ay = a
    dx, dy = b[0] - ax, b[1] - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def stroke_coverage(segments):
    """Per-pixel coverage (0..1) of round-ended strokes STROKE wide along the segments."""
    half = STROKE / 2
    step = 1.0 / SUBSAMPLES
    coverage = [[0.0] * WIDTH for _ in range(HEIGHT)]
    near = {}
    for seg in segments:
        (ax, ay), (bx, by) = seg
        for y in range(max(0, int(min(ay, by) - half - 1)), min(HEIGHT, int(max(ay, by) + half + 2))):
            for x in range(max(0, int(min(ax, bx) - half - 1)), min(WIDTH, int(max(ax, bx) + half + 2))):
                near.setdefault((x, y), []).append(seg)
    for (x, y), segs in near.items():
        total = 0.0
        for j in range(SUBSAMPLES):
            sy = y + (j + 0.5) * step
            for i in range(SUBSAMPLES):
                sx = x + (i + 0.5) * step
                d = min(segment_distance(sx, sy, a, b) for a, b in segs)
                # Each sample is itself a little box filter across the edge: smoother than
                # counting inside/outside.
                total += max(0.0, min(1.0, (half - d) / step + 0.5))
        coverage[y][x] = total / (SUBSAMPLES * SUBSAMPLES)
    return coverage


def plate_coverage(x, y, inset):
    """Coverage of the rounded plate filling the tile less `inset`, by the same sampling."""
    step = 1.0 / SUBSAMPLES
    total = 0.0
    for j in range(SUBSAMPLES):
        sy = y + (j + 0.5) * step
        for i in range(SUBSAMPLES):
            sx = x + (i + 0.5) * step
            # Distance outside a rounded rectangle (negative inside).
            qx = abs(sx - WIDTH / 2) - (WIDTH / 2 - inset - PLATE_RADIUS)
            qy = abs(sy - HEIGHT / 2) - (HEIGHT / 2 - inset - PLATE_RADIUS)
            outside = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0)
            d = outside - PLATE_RADIUS
            total += max(0.0, min(1.0, 0.5 - d / step))
    return total / (SUBSAMPLES * SUBSAMPLES)


def mix(a, b, t):
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(3))


def draw():
    letters = [(colour, stroke_coverage(segments)) for colour, segments in layout()]
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        plate_colour = mix(PLATE_TOP_COLOUR, PLATE_BOTTOM_COLOUR, y / (HEIGHT - 1))
        for x in range(WIDTH):
            # Straight colour over premultiplied accumulation: plate first, letters over it.
            outer = plate_coverage(x, y, 0.5)
            # A lighter rim sets the plate off from a dark window.
            rim = outer - plate_coverage(x, y, 1.5)
            alpha = outer * PLATE_ALPHA
            colour = mix(plate_colour, RIM_COLOUR, rim / outer) if outer > 0 else plate_colour
            premul = [c * alpha for c in colour]
            for colour, coverage in letters:
                c = coverage[y][x]
                if c > 0:
                    premul = [colour[k] * c + premul[k] * (1 - c) for k in range(3)]
                    alpha = c + alpha * (1 - c)
            rgb = [p / alpha for p in premul] if alpha > 0 else list(plate_colour)
            row += bytes(max(0, min(255, round(v))) for v in rgb + [alpha * 255])
        rows.append(bytes(row))
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", default=os.path.join(here, "logo.png"))
    args = parser.parse_args()
    pngio.write_png(args.output, WIDTH, HEIGHT, draw())


if __name__ == "__main__":
    main()
