#!/usr/bin/env python3
"""Draws the default skin (settings/skin.bmp, 240x64) and the program icon (tavimbra.ico).

Run it after changing the art; its outputs are committed so the build needs no Python.
"""
import math
import struct
import sys
import zlib
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


# Notification-area sizes are drawn pixel by pixel so the strokes stay sharp: '.' is
# transparent, 'o' a half-covered corner, 'b' the background, 'W' white.
HAND_DRAWN = {
    16: [
        "..obbbbbbbbbbo..",
        ".obbbbbbbbbbbbo.",
        "obbbbbbbbbbbbbbo",
        "bbbWWbbbbbbbbbbb",
        "bbbWWWbbbbbbbbbb",
        "bbbbWWWbbbbbbbbb",
        "bbbbbWWWbbbbbbbb",
        "bbbbbbWWbbbbbbbb",
        "bbbbbWWWbbbbbbbb",
        "bbbbWWWbbbbbbbbb",
        "bbbWWWbbbbbbbbbb",
        "bbbWWbbbbWWWWWbb",
        "bbbbbbbbbWWWWWbb",
        "obbbbbbbbbbbbbbo",
        ".obbbbbbbbbbbbo.",
        "..obbbbbbbbbbo..",
    ],
    20: [
        "...obbbbbbbbbbbbo...",
        ".obbbbbbbbbbbbbbbbo.",
        ".bbbbbbbbbbbbbbbbbb.",
        "obbbbbbbbbbbbbbbbbbo",
        "bbbbWWbbbbbbbbbbbbbb",
        "bbbbWWWbbbbbbbbbbbbb",
        "bbbbbWWWbbbbbbbbbbbb",
        "bbbbbbWWWbbbbbbbbbbb",
        "bbbbbbbWWWbbbbbbbbbb",
        "bbbbbbbbWWbbbbbbbbbb",
        "bbbbbbbWWWbbbbbbbbbb",
        "bbbbbbWWWbbbbbbbbbbb",
        "bbbbbWWWbbbbbbbbbbbb",
        "bbbbWWWbbbbbbbbbbbbb",
        "bbbbWWbbbbbWWWWWWbbb",
        "bbbbbbbbbbbWWWWWWbbb",
        "obbbbbbbbbbbbbbbbbbo",
        ".bbbbbbbbbbbbbbbbbb.",
        ".obbbbbbbbbbbbbbbbo.",
        "...obbbbbbbbbbbbo...",
    ],
}

BACK_A, BACK_B = (44, 54, 110), (22, 128, 142)


def hand_drawn_image(size):
    rows = HAND_DRAWN[size]
    assert len(rows) == size and all(len(r) == size for r in rows), size
    px = []
    for y, line in enumerate(rows):
        row = []
        for x, ch in enumerate(line):
            c = mix(BACK_A, BACK_B, (x + y + 1) / (2 * size))
            alpha = {'.': 0, 'o': 128}.get(ch, 255)
            if ch == 'W':
                c = (255, 255, 255)
            row.append((c, alpha))
        px.append(row)
    return px


def in_rounded_square(u, v, r=0.22):
    dx = max(r - u, 0, u - (1 - r))
    dy = max(r - v, 0, v - (1 - r))
    return math.hypot(dx, dy) <= r


def on_mark(u, v):
    # Prompt chevron ">" and an underline cursor, as in the skin.
    t = 0.085  # half stroke width
    cx, cy, h, w = 0.22, 0.44, 0.23, 0.24
    if cy - h - t <= v <= cy + h + t and cx - t <= u <= cx + w + t:
        # Distance to the two strokes from the tips to the point (cx + w, cy).
        for ty in (cy - h, cy + h):
            ax, ay, bx, by = cx, ty, cx + w, cy
            lx, ly = bx - ax, by - ay
            k = max(0.0, min(1.0, ((u - ax) * lx + (v - ay) * ly) / (lx * lx + ly * ly)))
            if math.hypot(u - (ax + k * lx), v - (ay + k * ly)) <= t:
                return True
    return 0.54 <= u <= 0.80 and 0.64 <= v <= 0.76


def smooth_image(size, samples=4):
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            inside = white = 0
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) / size
                    v = (y + (sy + 0.5) / samples) / size
                    if in_rounded_square(u, v):
                        inside += 1
                        white += on_mark(u, v)
            n = samples * samples
            back = mix(BACK_A, BACK_B, (x + y + 1) / (2 * size))
            c = mix(back, (255, 255, 255), white / inside) if inside else back
            row.append((c, round(255 * inside / n)))
        px.append(row)
    return px


def icon_image(size):
    return hand_drawn_image(size) if size in HAND_DRAWN else smooth_image(size)


def bmp_entry(size):
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


def png_entry(size):
    # The 256 px image is stored as PNG, as Windows expects for that size.
    img = icon_image(size)
    raw = bytearray()
    for row in img:
        raw.append(0)
        for (r, g, b), a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')


ICON_SIZES = [16, 20, 24, 32, 48, 256]


def write_icon(path):
    images = [png_entry(s) if s >= 256 else bmp_entry(s) for s in ICON_SIZES]
    out = struct.pack('<HHH', 0, 1, len(ICON_SIZES))
    offset = 6 + 16 * len(ICON_SIZES)
    for s, data in zip(ICON_SIZES, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path.write_bytes(out + b''.join(images))


if __name__ == '__main__':
    write_skin(OUT / 'skin.bmp')
    write_icon(OUT / 'tavimbra.ico')
