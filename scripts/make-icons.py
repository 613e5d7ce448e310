#!/usr/bin/env python3
"""Makes the installed icons from the window icon, so both sizes always show the same picture.

Usage: python3 scripts/make-icons.py
Reads app/resources/icon.png (32 x 32) and writes dist/icons/velmor-32.png (the same file) and
dist/icons/velmor-256.png (each pixel an 8 x 8 block: pixel art stays crisp, nothing is blurred).
Needs only Python 3's standard library.
"""
import os
import shutil
import struct
import sys
import zlib

SCALE = 8
SIGNATURE = b"\x89PNG\r\n\x1a\n"
BYTES_PER_PIXEL = 4


def chunks(data):
    at = len(SIGNATURE)
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_rgba(path):
    """Returns (width, height, rows of RGBA bytes) of an 8-bit RGBA, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        sys.exit(f"{path}: not a PNG file")
    header, packed = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            packed += body
    if header is None:
        sys.exit(f"{path}: no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        sys.exit(f"{path}: only 8-bit RGBA without interlacing is supported")
    raw = zlib.decompress(packed)
    stride = width * BYTES_PER_PIXEL
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - BYTES_PER_PIXEL] if i >= BYTES_PER_PIXEL else 0
            up = previous[i]
            up_left = previous[i - BYTES_PER_PIXEL] if i >= BYTES_PER_PIXEL else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(left, up, up_left)) & 0xFF
            elif kind != 0:
                sys.exit(f"{path}: unknown row filter {kind}")
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def write_rgba(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + row for row in rows)
    png = (SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def enlarge(rows, factor):
    out = []
    for row in rows:
        pixels = [row[i:i + BYTES_PER_PIXEL] for i in range(0, len(row), BYTES_PER_PIXEL)]
        wide = b"".join(p * factor for p in pixels)
        out.extend([wide] * factor)
    return out


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    source = os.path.join(root, "app", "resources", "icon.png")
    target = os.path.join(root, "dist", "icons")
    os.makedirs(target, exist_ok=True)
    width, height, rows = read_rgba(source)
    small = os.path.join(target, f"velmor-{width}.png")
    shutil.copyfile(source, small)
    large = os.path.join(target, f"velmor-{width * SCALE}.png")
    write_rgba(large, width * SCALE, height * SCALE, enlarge(rows, SCALE))
    print(f"wrote {os.path.relpath(small, root)} and {os.path.relpath(large, root)}")


if __name__ == "__main__":
    main()
