#!/usr/bin/env python3
"""Writes the seed corpus of the read_image fuzz harness: small valid files of every format
read_image reads, each exercising another path of its decoder (colour types, bit depths,
palettes, transparency, interlacing, row order, compression). PNG, BMP, PGM/PPM, GIF and TIFF
are built here byte by byte; the JPEGs need cjpeg and jpegtran (Debian's libjpeg-turbo-progs)
and are skipped without them. Usage: fuzz/make_image_seeds.py [FOLDER]
(default fuzz/corpus/read_image)."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


def pixels(width, height, channels, seed=0):
    return bytes((x * 37 + y * 91 + c * 53 + seed) % 256
                 for y in range(height) for x in range(width) for c in range(channels))


# PNG ------------------------------------------------------------------------------------------

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour, depth, rows, extra=b"", interlace=0, split=False):
    raw = b"".join(b"\x00" + row for row in rows)
    data = zlib.compress(raw, 9)
    head = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    body = chunk(b"IHDR", head) + extra
    if split:
        body += chunk(b"IDAT", b"") + chunk(b"IDAT", data[:5]) + chunk(b"IDAT", data[5:])
    else:
        body += chunk(b"IDAT", data)
    return b"\x89PNG\r\n\x1a\n" + body + chunk(b"IEND", b"")


def rows_of(width, height, bytes_per_pixel, seed=0):
    flat = pixels(width, height, bytes_per_pixel, seed)
    stride = width * bytes_per_pixel
    return [flat[i * stride:(i + 1) * stride] for i in range(height)]


def adam7(width, height, bytes_per_pixel):
    """Rows of the seven Adam7 passes, each pass's rows with their filter byte."""
    flat = pixels(width, height, bytes_per_pixel)
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
              (0, 1, 1, 2)]
    rows = []
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            row = b"".join(flat[(y * width + x) * bytes_per_pixel:(y * width + x + 1) * bytes_per_pixel]
                           for x in range(x0, width, dx))
            if row:
                rows.append(row)
    return rows


def png_seeds():
    palette = chunk(b"PLTE", bytes(range(0, 48)))
    yield "grey.png", png(7, 5, 0, 8, rows_of(7, 5, 1))
    yield "grey_alpha.png", png(5, 4, 4, 8, rows_of(5, 4, 2))
    yield "rgb.png", png(6, 3, 2, 8, rows_of(6, 3, 3))
    yield "rgba.png", png(4, 4, 6, 8, rows_of(4, 4, 4))
    yield "rgb16.png", png(3, 3, 2, 16, rows_of(3, 3, 6))
    yield "grey1.png", png(16, 2, 0, 1, rows_of(2, 2, 1))
    yield "grey_trns.png", png(4, 2, 0, 8, rows_of(4, 2, 1), chunk(b"tRNS", b"\x00\x25"))
    yield "palette_trns.png", png(4, 4, 3, 4, rows_of(2, 4, 1, 3),
                                  palette + chunk(b"tRNS", b"\x00\x80\xff"))
    yield "empty_idat_first.png", png(5, 2, 2, 8, rows_of(5, 2, 3), split=True)
    # Refused: an empty IDAT and no other, which made stb pass memcpy a null pointer.
    yield "only_empty_idat.png", (b"\x89PNG\r\n\x1a\n" +
                                  chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 1, 8, 0, 0, 0, 0)) +
                                  chunk(b"IDAT", b"") + chunk(b"IEND", b""))
    interlaced_rows = adam7(9, 9, 3)
    raw = b"".join(b"\x00" + row for row in interlaced_rows)
    head = struct.pack(">IIBBBBB", 9, 9, 8, 2, 0, 0, 1)
    yield "interlaced.png", (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) +
                             chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# BMP, PGM/PPM ---------------------------------------------------------------------------------

def bmp(width, height, bits, data, palette=b"", compression=0, header=40):
    offset = 14 + header + len(palette)
    info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression, len(data),
                       2835, 2835, len(palette) // 4, 0)
    if header > 40:
        masks = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
        info += masks + b"\x00" * (header - 40 - len(masks))
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data


def padded(rows):
    return b"".join(row + b"\x00" * (-len(row) % 4) for row in rows)


def bmp_seeds():
    yield "rgb.bmp", bmp(5, 3, 24, padded(rows_of(5, 3, 3)))
    yield "top_down.bmp", bmp(5, -3, 24, padded(rows_of(5, 3, 3)))
    yield "palette.bmp", bmp(6, 2, 8, padded(rows_of(6, 2, 1)),
                             b"".join(bytes((i, i, i, 0)) for i in range(256)))
    yield "rgba.bmp", bmp(3, 3, 32, padded(rows_of(3, 3, 4)), compression=3, header=108)
    rle = bytes([3, 1, 2, 7, 0, 0, 0, 3, 4, 5, 6, 0, 0, 1])
    yield "rle8.bmp", bmp(5, 2, 8, rle, b"".join(bytes((i, 255 - i, i // 2, 0)) for i in range(8)),
                          compression=1)


def pnm_seeds():
    yield "grey.pgm", b"P5\n4 3\n255\n" + pixels(4, 3, 1)
    yield "rgb.ppm", b"P6 3 2 255\n" + pixels(3, 2, 3)
    yield "grey16.pgm", b"P5 2 2 65535\n" + pixels(2, 2, 2)


# GIF ------------------------------------------------------------------------------------------

def lzw(indices, minimum):
    """LZW codes of `indices`, a clear code before every two so that codes never widen."""
    clear, end, width = 1 << minimum, (1 << minimum) + 1, minimum + 1
    codes = [clear]
    for i, index in enumerate(indices):
        if i and i % 2 == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(end)
    bits = filled = 0
    out = bytearray()
    for code in codes:
        bits |= code << filled
        filled += width
        while filled >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            filled -= 8
    if filled:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255] for i in range(0, len(out), 255))
    return bytes([minimum]) + blocks + b"\x00"


def gif_frame(left, top, width, height, indices, interlaced=False, local=b""):
    flags = (0x40 if interlaced else 0) | ((0x80 | 1) if local else 0)
    return (b"\x2c" + struct.pack("<HHHHB", left, top, width, height, flags) + local +
            lzw(indices, 2))


def gif(width, height, frames, transparent=None):
    palette = bytes([0, 0, 0, 250, 120, 30, 90, 90, 90, 10, 200, 60])
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0) + palette
    for i, frame in enumerate(frames):
        if transparent is not None and i == 0:
            out += b"\x21\xf9\x04\x01\x00\x00" + bytes([transparent]) + b"\x00"
        out += frame
    return out + b";"


def gif_seeds():
    indices = [(x + y) % 4 for y in range(5) for x in range(6)]
    yield "palette.gif", gif(6, 5, [gif_frame(0, 0, 6, 5, indices)])
    yield "transparent.gif", gif(6, 5, [gif_frame(0, 0, 6, 5, indices)], transparent=2)
    yield "interlaced.gif", gif(6, 9, [gif_frame(0, 0, 6, 9, [y % 4 for y in range(9) for _ in range(6)],
                                                 interlaced=True)])
    yield "two_frames.gif", gif(6, 5, [gif_frame(1, 1, 3, 2, [1, 2, 3, 0, 1, 2],
                                                 local=bytes([9, 9, 9, 1, 2, 3, 200, 0, 0, 0, 0, 200])),
                                       gif_frame(0, 0, 6, 5, indices)])


# TIFF -----------------------------------------------------------------------------------------

def tiff(width, height, samples, photometric, data, bits=8, compression=1, extra=None,
         colormap=None):
    tags = {256: (4, [width]), 257: (4, [height]), 258: (3, [bits] * samples),
            259: (3, [compression]), 262: (3, [photometric]), 273: (4, [0]), 277: (3, [samples]),
            278: (4, [height]), 279: (4, [len(data)])}
    if extra is not None:
        tags[338] = (3, [extra])
    if colormap is not None:
        tags[320] = (3, colormap)
    ifd_size = 2 + 12 * len(tags) + 4
    out_of_line = b""
    base = 8 + ifd_size
    entries = b""
    values_at = {}
    for tag in sorted(tags):
        kind, values = tags[tag]
        packed = struct.pack("<%d%s" % (len(values), "H" if kind == 3 else "I"), *values)
        if len(packed) > 4:
            values_at[tag] = base + len(out_of_line)
            out_of_line += packed
    data_at = base + len(out_of_line)
    tags[273] = (4, [data_at])
    for tag in sorted(tags):
        kind, values = tags[tag]
        packed = struct.pack("<%d%s" % (len(values), "H" if kind == 3 else "I"), *values)
        field = struct.pack("<I", values_at[tag]) if len(packed) > 4 else packed.ljust(4, b"\x00")
        entries += struct.pack("<HHI", tag, kind, len(values)) + field
    ifd = struct.pack("<H", len(tags)) + entries + struct.pack("<I", 0)
    return b"II*\x00" + struct.pack("<I", 8) + ifd + out_of_line + data


def tiff_seeds():
    yield "grey.tif", tiff(5, 3, 1, 1, pixels(5, 3, 1))
    yield "grey_alpha.tif", tiff(4, 2, 2, 1, pixels(4, 2, 2), extra=2)
    yield "rgb.tif", tiff(3, 3, 3, 2, pixels(3, 3, 3))
    yield "rgba.tif", tiff(3, 2, 4, 2, pixels(3, 2, 4), extra=2)
    yield "white_is_zero.tif", tiff(4, 2, 1, 0, pixels(4, 2, 1))
    yield "rgb16.tif", tiff(2, 2, 3, 2, pixels(2, 2, 6), bits=16)
    yield "deflate.tif", tiff(6, 4, 3, 2, zlib.compress(pixels(6, 4, 3)), compression=8)
    colormap = [i * 4369 for i in range(16)] * 3
    yield "palette.tif", tiff(4, 2, 1, 3, bytes([0x01, 0x23, 0x45, 0x67]), bits=4, colormap=colormap)


# JPEG -----------------------------------------------------------------------------------------

def jpeg_seeds():
    cjpeg, jpegtran = shutil.which("cjpeg"), shutil.which("jpegtran")
    if not cjpeg or not jpegtran:
        print("cjpeg/jpegtran not found: JPEG seeds skipped", file=sys.stderr)
        return
    with tempfile.TemporaryDirectory() as work:
        grey = os.path.join(work, "grey.pgm")
        rgb = os.path.join(work, "rgb.ppm")
        with open(grey, "wb") as f:
            f.write(b"P5 16 16 255\n" + pixels(16, 16, 1))
        with open(rgb, "wb") as f:
            f.write(b"P6 17 9 255\n" + pixels(17, 9, 3))
        runs = {
            "grey.jpg": [cjpeg, "-quality", "80", grey],
            "rgb420.jpg": [cjpeg, "-quality", "75", rgb],
            "rgb444.jpg": [cjpeg, "-quality", "95", "-sample", "1x1", rgb],
            "progressive.jpg": [cjpeg, "-progressive", rgb],
            "restarts.jpg": [cjpeg, "-restart", "1B", "-sample", "2x1", rgb],
            "arithmetic.jpg": [cjpeg, "-arithmetic", grey],
            "optimised.jpg": [cjpeg, "-optimize", "-rgb", rgb],
        }
        for name, command in runs.items():
            yield name, subprocess.run(command, check=True, capture_output=True).stdout
        # Refused: a Huffman table of 300 codes (at most 256 fit), which made stb write past
        # its arrays.
        grey_jpeg = subprocess.run(runs["grey.jpg"], check=True, capture_output=True).stdout
        table = b"\xff\xc4" + struct.pack(">H", 2 + 17 + 300) + b"\x00" + bytes(14) + bytes([45, 255])
        yield "long_huffman.jpg", grey_jpeg[:2] + table + bytes(300) + grey_jpeg[2:]
        plain = os.path.join(work, "plain.jpg")
        with open(plain, "wb") as f:
            f.write(subprocess.run([cjpeg, rgb], check=True, capture_output=True).stdout)
        yield "rotated.jpg", subprocess.run([jpegtran, "-rotate", "90", "-progressive", plain],
                                            check=True, capture_output=True).stdout


def main():
    root = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "corpus", "read_image")
    os.makedirs(folder, exist_ok=True)
    for seeds in (png_seeds, bmp_seeds, pnm_seeds, gif_seeds, tiff_seeds, jpeg_seeds):
        for name, data in seeds():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
