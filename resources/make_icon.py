#!/usr/bin/env python3
"""Draws the launcher's icon, a traffic light, and writes it as a Windows .ico,
or one of its sizes as a PNG (for the Linux desktop's icon theme).

    make_icon.py OUTPUT.ico
    make_icon.py --png SIZE OUTPUT.png

The image is described by shapes in a unit square and rendered once per size,
so that every size is drawn for its own grid rather than scaled from another.
Sizes up to 48 pixels are stored as 32-bit bitmaps with their AND mask, which
every Windows version reads; 256 pixels as PNG, which is how Windows expects
an image that large. Standard library only; the output is byte-for-byte the
same on every run.
"""
import math
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
PNG_FROM = 256  # this size and larger are stored as PNG

# (signed distance function, RGBA colour), painted in order, later over earlier.
# A distance is in units of the image's side; negative inside the shape.


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


LAMPS = ((0.235, (229, 57, 53)), (0.5, (255, 179, 0)), (0.765, (67, 160, 71)))

SHAPES = [
    (rounded_rect(0.24, 0.02, 0.76, 0.98, 0.14), (24, 27, 33, 255)),   # outline
    (rounded_rect(0.27, 0.05, 0.73, 0.95, 0.11), (55, 61, 72, 255)),   # housing
]
for y, (r, g, b) in LAMPS:
    SHAPES.append((circle(0.5, y, 0.125), (12, 14, 18, 255)))          # lamp recess
    SHAPES.append((circle(0.5, y, 0.1), (r, g, b, 255)))               # lamp
    SHAPES.append((circle(0.47, y - 0.03, 0.035), (255, 255, 255, 90)))  # glint


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, with straight alpha."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x, y = (px + 0.5) / size, (py + 0.5) / size
            # Premultiplied accumulation of "over"; the coverage of an edge pixel
            # comes from the distance to the shape, measured in pixels.
            r = g = b = a = 0.0
            for shape, (sr, sg, sb, sa) in SHAPES:
                coverage = min(max(0.5 - shape(x, y) * size, 0.0), 1.0)
                alpha = coverage * sa / 255
                if alpha <= 0:
                    continue
                r = sr * alpha + r * (1 - alpha)
                g = sg * alpha + g * (1 - alpha)
                b = sb * alpha + b * (1 - alpha)
                a = alpha + a * (1 - alpha)
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap(size, rows):
    """A DIB as an icon holds it: header with doubled height, BGRA rows bottom
    up, then the 1-bit AND mask (set where the pixel is fully transparent)."""
    mask_stride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\x00" + bytes(channel for pixel in row for channel in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def icon(sizes):
    images = []
    for size in sizes:
        rows = render(size)
        images.append((size, png(size, rows) if size >= PNG_FROM else bitmap(size, rows)))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in images)


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--png" and sys.argv[2].isdigit() and 0 < int(sys.argv[2]) <= 1024:
        size = int(sys.argv[2])
        data = png(size, render(size))
    elif len(sys.argv) == 2:
        data = icon(SIZES)
    else:
        sys.exit("usage: make_icon.py OUTPUT.ico | make_icon.py --png SIZE OUTPUT.png")
    with open(sys.argv[-1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
