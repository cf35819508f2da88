#!/usr/bin/env python3
"""Draws the default skin (settings/skin.bmp, 240x64) and the program icon (tavimbra.ico).

Run it after changing the art; its outputs are committed so the build needs no Python.
"""
import math
import struct
import sys
from pathlib import Path

OUT = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def skin_pixel(x, y, w=240, h=64):
    # Diagonal indigo-to-teal wash.
    t = (x / w) * 0.7 + (y / h) * 0.3
    c = mix((44, 54, 110), (22, 128, 142), t)
    # Soft light band across the top third.
    if y < 22:
        c = mix(c, (255, 255, 255), 0.10 * (1 - y / 22))
    # Shadow under the input box (16, 27, 209 x 18).
    if 16 <= x < 226 and 45 <= y < 48:
        c = mix(c, (0, 0, 0), 0.25 - 0.07 * (y - 45))
    # Prompt chevron left of the box.
    cx, cy = 8, 36
    if abs(y - cy) <= 4 and 0 <= x - (cx - 2) - (4 - abs(y - cy)) <= 1:
        c = mix(c, (255, 255, 255), 0.85)
    # Thin frame.
    if x in (0, w - 1) or y in (0, h - 1):
        c = mix(c, (255, 255, 255), 0.35)
    elif x in (1, w - 2) or y in (1, h - 2):
        c = mix(c, (0, 0, 0), 0.20)
    return c


def write_skin(path):
    w, h = 240, 64
    row_bytes = w * 3  # 720, already a multiple of 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        for x in range(w):
            r, g, b = skin_pixel(x, y)
            pixels += bytes((b, g, r))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)
    assert row_bytes % 4 == 0


def icon_image(size):
    px = []
    r_corner = size * 0.22
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = x + 0.5, y + 0.5
            # Rounded square coverage.
            dx = max(r_corner - fx, 0, fx - (size - r_corner))
            dy = max(r_corner - fy, 0, fy - (size - r_corner))
            d = math.hypot(dx, dy)
            alpha = max(0.0, min(1.0, r_corner - d + 0.5)) if (dx or dy) else 1.0
            c = mix((44, 54, 110), (22, 128, 142), (fx + fy) / (2 * size))
            # Chevron ">" and underline, white.
            u, v = fx / size, fy / size
            chevron = abs(v - 0.42) <= 0.20 and abs((u - 0.22) - (0.20 - abs(v - 0.42))) <= 0.065
            underline = 0.52 <= u <= 0.80 and abs(v - 0.66) <= 0.045
            if chevron or underline:
                c = (255, 255, 255)
            row.append((c, round(alpha * 255)))
        px.append(row)
    return px


def ico_entry(size):
    img = icon_image(size)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            (r, g, b), a = img[y][x]
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def write_icon(path):
    sizes = [16, 24, 32, 48]
    images = [ico_entry(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path.write_bytes(out + b''.join(images))


if __name__ == '__main__':
    write_skin(OUT / 'skin.bmp')
    write_icon(OUT / 'tavimbra.ico')
