#!/usr/bin/env python3
"""Draws the program's icon, src/frontend/res/varnex.ico: an olive rounded square
with a khaki "V" and a green lamp, at 16, 24, 32, 48 and 64 pixels (32-bit
bitmaps) and 256 pixels (PNG). Run it again after changing the drawing;
the build uses the file it wrote.

    python3 tools/make-icon.py [OUTPUT]
"""
import os
import struct
import sys
import zlib

SAMPLES = 4  # per axis, for smooth edges


def inside_rounded(x, y, radius):
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and 0 <= x <= 1 and 0 <= y <= 1


def inside_polygon(x, y, points):
    hit = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def inside_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


V_SHAPE = [(0.17, 0.18), (0.37, 0.18), (0.50, 0.60), (0.63, 0.18), (0.83, 0.18), (0.58, 0.84), (0.42, 0.84)]


def layers(x, y):
    """Colours (r, g, b) of the shapes under a point, bottom first."""
    found = []
    if inside_rounded(x, y, 0.2):
        found.append((30, 36, 20))
    if inside_rounded((x - 0.5) / 0.92 + 0.5, (y - 0.5) / 0.92 + 0.5, 0.17):
        shade = y
        found.append((int(104 - 66 * shade), int(116 - 70 * shade), int(66 - 40 * shade)))
    if inside_polygon(x, y, V_SHAPE):
        found.append((236, 226, 180))
    if inside_circle(x, y, 0.78, 0.78, 0.17):
        found.append((0, 95, 10))
    if inside_circle(x, y, 0.78, 0.78, 0.125):
        found.append((30, 185, 45))
    return found


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    shapes = layers(x, y)
                    if shapes:
                        top = shapes[-1]
                        r, g, b, a = r + top[0], g + top[1], b + top[2], a + 1
            n = SAMPLES * SAMPLES
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap_entry(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # transparency comes from the alpha channel
    return header + pixels + mask


def png_entry(size, rows):
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "frontend", "res", "varnex.ico")
    entries = []
    for size in (16, 24, 32, 48, 64, 256):
        rows = render(size)
        data = png_entry(size, rows) if size == 256 else bitmap_entry(size, rows)
        entries.append((size, data))
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for size, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    with open(out, "wb") as f:
        f.write(directory + body)
    print(f"wrote {os.path.normpath(out)} ({len(directory) + len(body)} bytes)")


if __name__ == "__main__":
    main()
