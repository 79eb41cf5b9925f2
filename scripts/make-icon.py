#!/usr/bin/env python3
"""Draws the program's icon and writes it as app/ebrona.ico.

The picture: an open yellow folder with a blue component box above it and a green arrow carrying
the box down into the folder. 32 x 32 pixels, 16 colours from the standard 16-colour palette,
stored as a BMP in an ICO with a 1-bit AND mask for the transparent corners.
Uses only the Python standard library; run it again after changing the drawing.
"""

import os
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, GREEN, NAVY, GREY, LIME, YELLOW, BLUE, WHITE = 0, 3, 2, 4, 8, 10, 11, 12, 15
SIZE = 32
CLEAR = None  # transparent


def draw():
    """Returns SIZE rows of SIZE palette indices (or CLEAR), top row first."""
    image = [[CLEAR] * SIZE for _ in range(SIZE)]

    def fill(left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                image[y][x] = colour

    def outline(left, top, right, bottom, colour):
        for x in range(left, right + 1):
            image[top][x] = image[bottom][x] = colour
        for y in range(top, bottom + 1):
            image[y][left] = image[y][right] = colour

    # The folder: its back with a tab, then the front flap, a little lower and lighter.
    fill(2, 14, 12, 16, DARK_YELLOW)
    outline(2, 14, 12, 16, BLACK)
    fill(2, 16, 29, 29, DARK_YELLOW)
    outline(2, 16, 29, 29, BLACK)
    for y in range(20, 30):
        shift = (29 - y) // 3
        for x in range(3 + shift, 29 + min(shift, 0)):
            image[y][x] = YELLOW
        image[y][2 + shift] = BLACK
    fill(3, 20, 28, 20, BLACK)
    fill(2, 29, 29, 29, BLACK)

    # The component: a blue box with a white highlight, at the top right.
    fill(18, 1, 29, 10, BLUE)
    outline(18, 1, 29, 10, NAVY)
    fill(20, 3, 22, 4, WHITE)
    fill(24, 6, 27, 8, GREY)

    # The arrow from the box down into the folder.
    fill(11, 4, 17, 6, LIME)
    fill(11, 6, 13, 16, LIME)
    for row, half in enumerate(range(5, 0, -1)):
        fill(12 - half, 17 + row, 12 + half, 17 + row, LIME)
    for y in range(4, 22):
        for x in range(5, 18):
            if image[y][x] == LIME:
                for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                    if 0 <= nx < SIZE and 0 <= ny < SIZE and image[ny][nx] not in (LIME, GREEN):
                        if image[ny][nx] in (CLEAR, DARK_YELLOW, YELLOW):
                            image[ny][nx] = GREEN
    return image


def ico_bytes(image):
    xor_rows, and_rows = [], []
    for row in reversed(image):  # BMP rows run bottom to top
        pixels = [BLACK if c is CLEAR else c for c in row]
        xor_rows.append(bytes((pixels[x] << 4) | pixels[x + 1] for x in range(0, SIZE, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is CLEAR else 0)
        and_rows.append(bits.to_bytes(SIZE // 8, "big"))  # 4 bytes: already a multiple of 4
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_data, and_data = b"".join(xor_rows), b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor_data) + len(and_data), 0, 0, 16, 0)
    bitmap = header + palette + xor_data + and_data
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(bitmap), 6 + 16)
    return directory + entry + bitmap


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app", "ebrona.ico")
    with open(target, "wb") as out:
        out.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
