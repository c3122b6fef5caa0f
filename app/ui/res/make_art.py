#!/usr/bin/env python3
"""Draws the wizard's icon (16, 32 and 48 pixels) and its 49 x 49 header
bitmap: a drive platter with its spindle and a read arm, in our colours.
Run it to remake wizard.ico and header.bmp beside it."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def platter(size, background):
    """Rows of (r, g, b, a), top row first."""
    c = (size - 1) / 2.0
    outer = size * 0.46
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            pixel = background
            if d <= outer:
                # The platter: a blue disk, lighter towards the top left.
                shade = 0.75 + 0.25 * (-(dx + dy) / (2 * outer))
                pixel = (int(40 * shade), int(110 * shade), int(200 * shade), 255)
                if abs(d - outer * 0.62) < max(0.6, size / 48.0):
                    pixel = (90, 160, 230, 255)  # a track
                if d <= outer * 0.16:
                    pixel = (230, 235, 240, 255)  # the spindle
            # The read arm from the lower right towards the centre.
            ax, ay = c + outer * 0.95, c + outer * 0.95
            t = max(0.0, min(1.0, ((x - ax) * (c - ax) + (y - ay) * (c - ay)) /
                             ((c - ax) ** 2 + (c - ay) ** 2)))
            px, py = ax + t * (c - ax), ay + t * (c - ay)
            if t < 0.55 and math.hypot(x - px, y - py) <= max(0.7, size / 20.0):
                pixel = (245, 170, 40, 255)
            row.append(pixel)
        rows.append(row)
    return rows


def dib(rows, alpha):
    """A bottom-up DIB: 32 bits with alpha, or 24 bits padded to 4 bytes."""
    size = len(rows)
    data = b""
    for row in reversed(rows):
        line = b""
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if alpha else bytes((b, g, r))
        while len(line) % 4:
            line += b"\0"
        data += line
    return data


def write_icon(path, sizes):
    images = []
    for size in sizes:
        rows = platter(size, (0, 0, 0, 0))
        pixels = dib(rows, True)
        mask_row = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(rows):
            line = bytearray(mask_row)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(line)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             len(pixels) + len(mask), 0, 0, 0, 0)
        images.append((size, header + pixels + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def write_bitmap(path, size):
    rows = platter(size, (255, 255, 255, 255))
    pixels = dib(rows, False)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + pixels)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "wizard.ico"), (16, 32, 48))
    write_bitmap(os.path.join(HERE, "header.bmp"), 49)
