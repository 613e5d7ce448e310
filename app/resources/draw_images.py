#!/usr/bin/env python3
"""Draws the window icon and the map-cell pointer (32 x 32 PNGs) from code, so they can be remade.

Usage: python3 draw_images.py   (writes icon.png and cell_cursor.png beside this script)
"""
import os
import struct
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
ROAD = (64, 64, 64, 255)
GRASS = (56, 152, 64, 255)
RED = (220, 32, 32, 255)
YELLOW = (250, 210, 40, 255)


def canvas(colour):
    return [[colour] * SIZE for _ in range(SIZE)]


def write_png(path, pixels):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon():
    # A bend of track seen from above, on grass, with a chequered start line and a red kart.
    img = canvas(GRASS)
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x - 32) ** 2 + (y - 32) ** 2) ** 0.5
            if 12 <= d <= 24:
                img[y][x] = ROAD
            if 11 <= d < 12 or 24 < d <= 25:
                img[y][x] = WHITE
    for y in range(8, 20):
        for x in range(2, 8):
            if ((x - 2) // 2 + (y - 8) // 2) % 2 == 0:
                img[y][x + 4] = BLACK
            else:
                img[y][x + 4] = WHITE
    for y in range(22, 28):
        for x in range(20, 28):
            img[y][x] = RED
    for x in range(21, 27):
        img[24][x] = YELLOW
    for i in range(SIZE):
        img[0][i] = img[SIZE - 1][i] = img[i][0] = img[i][SIZE - 1] = BLACK
    return img


def cursor():
    # A pencil pointing down to the left; its tip (2, 29) is the hot spot.
    img = canvas(CLEAR)
    for y in range(SIZE):
        for x in range(SIZE):
            along = ((x - 2) - (y - 29)) / 2 ** 0.5      # distance from the tip along the pencil
            across = abs((x - 2) + (y - 29)) / 2 ** 0.5  # distance from the pencil's axis
            if along < 0 or along > 38:
                continue
            half = min(along * 0.6, 3.2)  # the sharpened point widens into the body
            if across > half + 0.9:
                continue
            if across > half - 0.3 or along > 37:
                img[y][x] = BLACK
            elif along < 3:
                img[y][x] = BLACK
            elif along < 9:
                img[y][x] = (240, 200, 150, 255)
            elif along > 32:
                img[y][x] = RED
            else:
                img[y][x] = YELLOW
    return img


here = os.path.dirname(os.path.abspath(__file__))
write_png(os.path.join(here, "icon.png"), icon())
write_png(os.path.join(here, "cell_cursor.png"), cursor())
