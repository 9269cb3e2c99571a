"""The logo tools: the embedded planes are what the generator makes of the master, and the
generator reads the PNGs an image editor may save."""

import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.environ.get("QUORVEX_SOURCE_DIR",
                      os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
TOOLS = os.path.join(ROOT, "tools", "logo")
sys.path.insert(0, TOOLS)

import pngio  # noqa: E402


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


# The predictor of each PNG filter type, from the bytes left (a), above (b) and above-left (c).
PREDICTORS = [lambda a, b, c: 0, lambda a, b, c: a, lambda a, b, c: b,
              lambda a, b, c: (a + b) // 2, paeth]


def encode_png(width, height, colour, pixels, filters, depth=8, interlace=0):
    """An encoder written apart from pngio: rows of `pixels` (lists of per-pixel tuples),
    each row filtered with the given type as the PNG format defines it."""
    bpp = len(pixels[0][0])
    raw = bytearray()
    previous = [0] * (width * bpp)
    for row, kind in zip(pixels, filters):
        flat = [v for px in row for v in px]
        raw.append(kind)
        for i, value in enumerate(flat):
            a, c = (flat[i - bpp], previous[i - bpp]) if i >= bpp else (0, 0)
            raw.append((value - PREDICTORS[kind](a, previous[i], c)) % 256)
        previous = flat

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    # Two IDAT chunks: a reader must join them before inflating.
    data = zlib.compress(bytes(raw))
    half = len(data) // 2
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"tEXt", b"Comment\0x") +
            chunk(b"IDAT", data[:half]) + chunk(b"IDAT", data[half:]) + chunk(b"IEND", b""))


def sample_pixels(width, height, channels, seed=1):
    # Few distinct values, near both ends: differences wrap around, and the Paeth predictor
    # meets ties between its candidates, where the order of preference matters.
    rng = random.Random(seed)
    values = [0, 1, 2, 3, 4, 6, 128, 250, 253, 255]
    return [[tuple(rng.choice(values) for _ in range(channels)) for _ in range(width)]
            for _ in range(height)]


class EmbeddedLogo(unittest.TestCase):
    def test_embedded_planes_are_what_the_generator_makes_of_the_master(self):
        with tempfile.TemporaryDirectory() as tmp:
            output = os.path.join(tmp, "logo_planes.cc")
            subprocess.run([sys.executable, os.path.join(TOOLS, "embed_logo.py"),
                            "--output", output], check=True)
            with open(output, encoding="utf-8") as f:
                generated = f.read()
        with open(os.path.join(ROOT, "render", "logo_planes.cc"), encoding="utf-8") as f:
            embedded = f.read()
        self.assertTrue(generated == embedded,
                        "render/logo_planes.cc is stale: run tools/logo/embed_logo.py")

    def test_generated_planes_hold_the_master_channel_by_channel(self):
        width, height, rows = pngio.read_png(os.path.join(TOOLS, "logo.png"))
        import embed_logo
        source = embed_logo.source(rows)
        for k, name in enumerate(["logoPlaneRed", "logoPlaneGreen", "logoPlaneBlue",
                                  "logoPlaneAlpha"]):
            start = source.index(name + "[logoPixels] = {")
            body = source[source.index("{", start) + 1:source.index("}", start)]
            values = [int(v) for v in body.replace("\n", " ").split(",")]
            self.assertEqual(len(values), width * height, name)
            # Top-left first, rows of `width` bytes.
            for x, y in [(0, 0), (64, 27), (127, 0), (5, 54), (100, 30)]:
                self.assertEqual(values[y * width + x], rows[y][4 * x + k], (name, x, y))


class PngReading(unittest.TestCase):
    def decode(self, data):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "image.png")
            with open(path, "wb") as f:
                f.write(data)
            return pngio.read_png(path)

    def test_every_filter_type_and_colour_type_becomes_rgba(self):
        for colour, channels, to_rgba in [
                (6, 4, lambda p: p),
                (0, 1, lambda p: (p[0], p[0], p[0], 255)),
                (2, 3, lambda p: (p[0], p[1], p[2], 255)),
                (4, 2, lambda p: (p[0], p[0], p[0], p[1]))]:
            pixels = sample_pixels(40, 10, channels)
            _, _, rows = self.decode(encode_png(40, 10, colour, pixels, [0, 1, 2, 3, 4] * 2))
            expected = [bytes(v for px in row for v in to_rgba(px)) for row in pixels]
            self.assertEqual(rows, expected, "colour type %d" % colour)


if __name__ == "__main__":
    unittest.main()
