"""Reading and writing 8-bit PNG images with the standard library only.

Images are (width, height, rows) with each row a bytes object of RGBA pixels.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"

# Colour type -> channels per pixel, for the 8-bit depth this reader accepts (a palette
# image has one index a pixel).
_CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


class PngError(ValueError):
    pass


def _chunks(data):
    if not data.startswith(SIGNATURE):
        raise PngError("not a PNG file")
    pos = len(SIGNATURE)
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = data[pos + 8 + length:pos + 12 + length]
        if len(body) != length or len(crc) != 4:
            raise PngError("truncated chunk " + kind.decode("latin-1"))
        if struct.unpack(">I", crc)[0] != zlib.crc32(kind + body):
            raise PngError("bad checksum in chunk " + kind.decode("latin-1"))
        yield kind, body
        pos += 12 + length
        if kind == b"IEND":
            return
    raise PngError("no IEND chunk")


def _paeth(left, up, up_left):
    estimate = left + up - up_left
    dl, du, dul = abs(estimate - left), abs(estimate - up), abs(estimate - up_left)
    if dl <= du and dl <= dul:
        return left
    return up if du <= dul else up_left


def _unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows = []
    previous = bytearray(stride)
    pos = 0
    for _ in range(height):
        if pos + 1 + stride > len(raw):
            raise PngError("image data too short")
        kind = raw[pos]
        row = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 255
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + previous[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                up_left = previous[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + _paeth(left, previous[i], up_left)) & 255
        elif kind != 0:
            raise PngError("unknown filter type %d" % kind)
        rows.append(row)
        previous = row
    return rows


def _to_rgba(row, channels):
    if channels == 4:
        return bytes(row)
    out = bytearray()
    for i in range(0, len(row), channels):
        px = row[i:i + channels]
        if channels == 1:
            out += bytes((px[0], px[0], px[0], 255))
        elif channels == 2:
            out += bytes((px[0], px[0], px[0], px[1]))
        else:
            out += bytes((px[0], px[1], px[2], 255))
    return bytes(out)


def _palette_to_rgba(row, palette, alphas):
    out = bytearray()
    for index in row:
        if 3 * index + 3 > len(palette):
            raise PngError("palette index %d past the palette's %d entries"
                           % (index, len(palette) // 3))
        out += palette[3 * index:3 * index + 3]
        out.append(alphas[index] if index < len(alphas) else 255)
    return bytes(out)


def read_png(path):
    """Decodes an 8-bit, non-interlaced grey, grey+alpha, palette, RGB or RGBA PNG into RGBA
    rows."""
    with open(path, "rb") as f:
        data = f.read()
    header = None
    compressed = bytearray()
    palette, alphas = b"", b""
    for kind, body in _chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            if not body or len(body) % 3 or len(body) > 3 * 256:
                raise PngError("a palette holds 1 to 256 RGB entries")
            palette = body
        elif kind == b"tRNS":
            alphas = body
        elif kind == b"IDAT":
            compressed += body
    if header is None:
        raise PngError("no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in _CHANNELS:
        raise PngError("only 8-bit grey, grey+alpha, palette, RGB or RGBA images are "
                       "supported (save the master as 8-bit RGBA)")
    if interlace != 0:
        raise PngError("interlaced images are not supported (save without interlacing)")
    if colour == 3 and not palette:
        raise PngError("a palette image without its PLTE chunk")
    channels = _CHANNELS[colour]
    rows = _unfilter(zlib.decompress(bytes(compressed)), width, height, channels)
    if colour == 3:
        return width, height, [_palette_to_rgba(row, palette, alphas) for row in rows]
    return width, height, [_to_rgba(row, channels) for row in rows]


def write_png(path, width, height, rows):
    """Writes RGBA rows as an 8-bit RGBA PNG, rows unfiltered (zlib does well enough on a
    logo)."""
    raw = b"".join(b"\0" + bytes(row) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body)))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))
