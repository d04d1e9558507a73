#!/usr/bin/env python3
"""Draws the two 30 x 27 antenna-mount pictures shown in the main window's mount box.

Ant-GND-Win32.bmp: the array upright on a mast standing on the ground (standard mount).
Ant-AIR-Win32.bmp: the array hanging upside-down below an aircraft's belly (inverted mount).

Usage: make_antenna_bmps.py OUTPUT_DIR
"""

import struct
import sys
from pathlib import Path

W, H = 30, 27
BLACK = (0, 0, 0)
YELLOW = (255, 255, 0)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
GREEN = (0, 160, 0)


def canvas():
    return [[BLACK] * W for _ in range(H)]


def fill(img, x0, y0, x1, y1, colour):
    """Fills the inclusive rectangle x0..x1, y0..y1."""
    for y in range(max(0, y0), min(H - 1, y1) + 1):
        for x in range(max(0, x0), min(W - 1, x1) + 1):
            img[y][x] = colour


def upright_array(img):
    """Mast from the ground up to a cross-bar carrying four whips, everything pointing up."""
    fill(img, 0, 24, 29, 24, GREEN)  # ground
    for x in range(1, 30, 4):  # hatching under the ground line
        fill(img, x, 25, x, 25, GREEN)
        fill(img, x - 1, 26, x - 1, 26, GREEN)
    fill(img, 14, 11, 15, 23, GREY)  # mast
    fill(img, 11, 21, 18, 23, GREY)  # footing
    fill(img, 4, 9, 25, 10, YELLOW)  # cross-bar
    for x in (4, 11, 18, 25):  # whips
        fill(img, x, 1, x, 8, YELLOW)
        fill(img, x - 1, 1, x + 1, 1, YELLOW)


def write_bmp(path, img):
    row_bytes = (W * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for r, g, b in img[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    path.write_bytes(header + info + pixels)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    ground = canvas()
    upright_array(ground)
    write_bmp(out / "Ant-GND-Win32.bmp", ground)

    # Inverted mount: the same array turned upside-down under a fuselage.
    air = [list(row) for row in reversed(ground)]
    fill(air, 0, 0, 29, 2, LIGHT)  # the ground becomes the fuselage
    fill(air, 2, 3, 27, 3, GREY)
    fill(air, 0, 0, 0, 0, BLACK)
    fill(air, 29, 0, 29, 0, BLACK)
    write_bmp(out / "Ant-AIR-Win32.bmp", air)


if __name__ == "__main__":
    main()
