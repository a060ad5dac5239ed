#!/usr/bin/env python3
"""Writes the programs' icons, 32x32 and 16x16 in the standard 16 colours:
switcher/Varndell.ico (a yellow V on a blue tile) and bpcalc/win/quorrin.ico (a paw print on a
round badge).

Run it when a picture changes; the .ico files are committed so that the build needs no Python.
"""
import os
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT, BLACK, NAVY, BLUE, YELLOW, WHITE = None, 0, 4, 12, 11, 15


def inside(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def paw(size):
    """Quorrin: a white paw print on a blue round badge with a navy rim."""
    s, c = size / 32.0, (size - 1) / 2.0
    toes = ((-8.5, -3, 2.6), (-3.5, -9, 2.6), (3.5, -9, 2.6), (8.5, -3, 2.6))

    def pixel(x, y):
        if not inside(x, y, c, c, 15.5 * s):
            return TRANSPARENT
        if not inside(x, y, c, c, 14.0 * s):
            return NAVY
        if inside(x, y, c, c + 4 * s, 6.5 * s) or any(inside(x, y, c + dx * s, c + dy * s, r * s) for dx, dy, r in toes):
            return WHITE
        return BLUE
    return [[pixel(x, y) for x in range(size)] for y in range(size)]


def v_tile(size):
    """Varndell: a yellow V with a black edge on a navy tile with rounded corners."""
    s = size / 32.0
    last = size - 1
    corner = 5 * s

    def in_tile(x, y):
        # Rounded corners: outside the quarter circles at the four corners is transparent.
        cx = min(max(x, corner), last - corner)
        cy = min(max(y, corner), last - corner)
        return inside(x, y, cx, cy, corner + 0.5)

    def distance_to_v(x, y):
        # The V's two strokes run from the top corners (6, 7) and (25, 7) to the point (15.5, 25).
        best = 1e9
        for (ax, ay), (bx, by) in (((6, 7), (15.5, 25)), ((25, 7), (15.5, 25))):
            ax, ay, bx, by = ax * s, ay * s, bx * s, by * s
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            best = min(best, ((x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2) ** 0.5)
        return best

    def pixel(x, y):
        if not in_tile(x, y):
            return TRANSPARENT
        d = distance_to_v(x, y)
        if d <= 2.6 * s:
            return YELLOW
        if d <= 2.6 * s + max(1.0, 1.2 * s):
            return BLACK
        return NAVY
    return [[pixel(x, y) for x in range(size)] for y in range(size)]


def image(rows):
    size = len(rows)
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


def write_icon(path, picture):
    images = [image(picture(32)), image(picture(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    write_icon(os.path.join(root, 'switcher', 'Varndell.ico'), v_tile)
    write_icon(os.path.join(root, 'bpcalc', 'win', 'quorrin.ico'), paw)


if __name__ == '__main__':
    main()
