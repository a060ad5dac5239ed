#!/usr/bin/env python3
"""Writes quorrin.ico: a paw print on a round badge, 32x32 and 16x16 in 16 colours.

Run from this folder when the picture changes; the .ico is committed so that the build needs
no Python.
"""
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT, OUTLINE, BADGE, PAW = None, 4, 12, 15


def picture(size):
    """Palette index (or None) of each pixel, top row first."""
    s = size / 32.0
    c = (size - 1) / 2.0

    def inside(x, y, cx, cy, r):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside(x, y, c, c, 15.5 * s):
                row.append(TRANSPARENT)
            elif not inside(x, y, c, c, 14.0 * s):
                row.append(OUTLINE)
            elif (inside(x, y, c, c + 4 * s, 6.5 * s)
                  or any(inside(x, y, c + dx * s, c + dy * s, r * s)
                         for dx, dy, r in ((-8.5, -3, 2.6), (-3.5, -9, 2.6), (3.5, -9, 2.6), (8.5, -3, 2.6)))):
                row.append(PAW)
            else:
                row.append(BADGE)
        rows.append(row)
    return rows


def image(size):
    rows = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = b'', b''
    for row in reversed(rows):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour += line + b'\0' * (-len(line) % 4)
        bits = ''.join('1' if p is None else '0' for p in row)
        line = bytes(int(bits[i:i + 8].ljust(8, '0'), 2) for i in range(0, size, 8))
        mask += line + b'\0' * (-len(line) % 4)
    return header + palette + colour + mask


def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open('quorrin.ico', 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
