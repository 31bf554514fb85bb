#!/usr/bin/env python3
"""Draws TaVO's own artwork (About box pictures, program icon in two sizes) as PNG files.

Run from the repository root: python3 tools/artwork/make_artwork.py
Needs only the Python standard library.
"""
import math
import struct
import zlib
from pathlib import Path


def png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))
    Path(path).write_bytes(data)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def turbine(cx, cy, radius, blades):
    """A compressor wheel seen from the front: hub, swept blades, housing."""
    def colour(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r > radius:
            return None
        angle = math.atan2(dy, dx) + r / radius * 1.2  # blades sweep back
        blade = (math.cos(angle * blades) + 1) / 2
        if r < radius * 0.18:
            return mix((90, 90, 100), (200, 200, 210), 1 - r / (radius * 0.18))
        if r > radius * 0.9:
            return (60, 60, 70)
        metal = mix((120, 130, 145), (225, 230, 240), blade)
        return mix(metal, (80, 85, 95), (r / radius) ** 3)
    return colour


def about_picture(x, y, w=96, h=160):
    wheel = turbine(w / 2, 56, 42, 11)(x, y)
    if wheel is not None:
        return (*wheel, 255)
    # A boost gauge's red line running up the lower part.
    if y > 112 and abs((x - 10) - (h - y) * 0.9) < 2:
        return (200, 30, 30, 255)
    sky = mix((20, 40, 90), (150, 60, 20), y / h)
    return (*sky, 255)


def badge(x, y, size=48):
    cx = cy = size / 2
    r = math.hypot(x - cx + 0.5, y - cy + 0.5)
    if r > size / 2 - 1:
        return (0, 0, 0, 0)
    letter = (12 <= y <= 17 and 10 <= x <= 37) or (12 <= y <= 37 and 21 <= x <= 26)
    if letter:
        return (255, 255, 255, 255)
    return (*mix((200, 80, 10), (120, 20, 10), r / (size / 2)), 255)


def icon(x, y, size=32):
    colour = turbine(size / 2, size / 2, size / 2 - 1, 7)(x, y)
    return (0, 0, 0, 0) if colour is None else (*colour, 255)


root = Path(__file__).resolve().parents[2] / "resources"
png(root / "about-turbine.png", 96, 160, about_picture)
png(root / "about-badge.png", 48, 48, badge)
png(root / "tavo-icon.png", 32, 32, icon)
# The same wheel for desktop menus and the hicolor icon theme.
png(root / "tavo-icon-128.png", 128, 128, lambda x, y: icon(x, y, 128))
