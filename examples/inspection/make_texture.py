"""A textured surface for texture_fft.hdvp: a fine diagonal weave of period 4 pixels over an
uneven, slowly varying background, and one dark round flaw drawn at a known place. Written as
a binary PGM, which read_image reads in every build."""
import math
import os

WIDTH, HEIGHT = 160, 128
FLAW_ROW, FLAW_COLUMN, FLAW_RADIUS, FLAW_DEPTH = 70, 90, 8, 50


def gray(row, col, flaw=True):
    # The background repeats across the image, as the frequency domain sees every image.
    value = 110 + 30 * math.cos(2 * math.pi * col / WIDTH) + 20 * math.sin(2 * math.pi * row / HEIGHT)
    value += 25 * math.cos(2 * math.pi * (row + col) / 4)
    if flaw and (row - FLAW_ROW) ** 2 + (col - FLAW_COLUMN) ** 2 <= FLAW_RADIUS ** 2:
        value -= FLAW_DEPTH
    return max(0, min(255, round(value)))


def write(path, flaw=True):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    pixels = bytes(gray(r, c, flaw) for r in range(HEIGHT) for c in range(WIDTH))
    with open(path, "wb") as file:
        file.write(b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT) + pixels)
    return path
