#!/usr/bin/env python3
"""Draws the program's icon (DEFAULT_ICON) and the hand cursor of its links.

Usage: make_images.py ICON_OUT CURSOR_OUT [PREVIEW_DIR]

Both images are the project's own, drawn here from code so that the build needs no binary
art in the repository. The icon: a drive with a boot arrow. The cursor: a two-colour hand,
black outline on white, index finger up, hot spot at its tip (6, 1).
"""
import struct
import sys
import zlib

# --- icon -------------------------------------------------------------------------------

def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def icon_pixel(u, v):
    """Colour (r, g, b, a) at unit coordinates u, v in [0, 1), top-left origin."""
    def rounded(x0, y0, x1, y1, r):
        if not (x0 <= u < x1 and y0 <= v < y1):
            return False
        cx = min(max(u, x0 + r), x1 - r)
        cy = min(max(v, y0 + r), y1 - r)
        return (u - cx) ** 2 + (v - cy) ** 2 <= r * r

    # drive body at the bottom
    if rounded(0.08, 0.60, 0.92, 0.92, 0.06):
        if rounded(0.74, 0.72, 0.84, 0.80, 0.02):
            return (60, 220, 90, 255)  # activity light
        return lerp((200, 205, 215), (120, 125, 140), (v - 0.60) / 0.32) + (255,)
    # arrow pointing down into the drive
    if 0.40 <= u < 0.60 and 0.06 <= v < 0.36:
        return (235, 175, 30, 255)
    if 0.36 <= v < 0.56 and abs(u - 0.5) <= (0.56 - v) * 1.1:
        return (235, 175, 30, 255)
    # blue disc behind the arrow
    if (u - 0.5) ** 2 + (v - 0.36) ** 2 <= 0.30 ** 2:
        return lerp((70, 140, 230), (20, 60, 150), v / 0.66) + (255,)
    return (0, 0, 0, 0)


def render_icon(size, samples=4):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = icon_pixel((x + (sx + 0.5) / samples) / size,
                                            (y + (sy + 0.5) / samples) / size)
                    acc[0] += r * a; acc[1] += g * a; acc[2] += b * a; acc[3] += a
            n = samples * samples
            alpha = acc[3] // n
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], alpha))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bmp_entry(rows):
    """An icon image as a 32-bit DIB with its AND mask (height doubled, bottom-up)."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def png_entry(rows):
    size = len(rows)
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_icon(path, sizes=(16, 20, 24, 32, 40, 48, 64, 256)):
    images = []
    for size in sizes:
        rows = render_icon(size)
        images.append((size, png_entry(rows) if size >= 256 else bmp_entry(rows)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)
    return images


# --- cursor -----------------------------------------------------------------------------

# '#' outline (black); the inside of the outline is filled white; '.' outside is transparent.
HAND = """
................................
.....##.........................
....#..#........................
....#..#........................
....#..#........................
....#..#........................
....#..###......................
....#..#..###...................
....#..#..#..##.................
....#..#..#..#.##...............
.##.#..#..#..#.#.#..............
#..##..#..#..#.#..#.............
#...#..........#..#.............
.#..#.............#.............
.#................#.............
..#...............#.............
..#..............#..............
...#.............#..............
...#............#...............
....#...........#...............
....#...........#...............
....#...........#...............
....#############...............
................................
................................
................................
................................
................................
................................
................................
................................
................................
""".split()
HOT_SPOT = (6, 1)


def cursor_masks():
    size = 32
    grid = [list(row) for row in HAND]
    assert len(grid) == size and all(len(r) == size for r in grid)
    # Flood the outside from the border; what the flood cannot reach is the hand's inside.
    outside = [[False] * size for _ in range(size)]
    stack = [(x, y) for x in range(size) for y in (0, size - 1)] + \
            [(x, y) for y in range(size) for x in (0, size - 1)]
    while stack:
        x, y = stack.pop()
        if not (0 <= x < size and 0 <= y < size) or outside[y][x] or grid[y][x] == '#':
            continue
        outside[y][x] = True
        stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    # (and, xor): transparent (1, 0), black (0, 0), white (0, 1)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            if grid[y][x] == '#':
                row.append((0, 0))
            elif outside[y][x]:
                row.append((1, 0))
            else:
                row.append((0, 1))
        pixels.append(row)
    return pixels


def write_cursor(path):
    size = 32
    pixels = cursor_masks()
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))

    def plane(index):
        data = bytearray()
        for row in reversed(pixels):
            bits = bytearray(4)
            for x, px in enumerate(row):
                if px[index]:
                    bits[x // 8] |= 0x80 >> (x % 8)
            data += bits
        return bytes(data)

    image = header + palette + plane(1) + plane(0)  # colour (xor) bits, then the and mask
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', size, size, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    with open(path, 'wb') as f:
        f.write(out + image)
    return pixels


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    images = write_icon(argv[1])
    pixels = write_cursor(argv[2])
    if len(argv) > 3:  # previews for a person to look at
        import os
        for size, data in images:
            if size == 256:
                with open(os.path.join(argv[3], 'icon-256.png'), 'wb') as f:
                    f.write(data)
        rows = [[(0, 0, 0, 255) if p == (0, 0) else (255, 255, 255, 255) if p == (0, 1)
                 else (255, 0, 255, 255) for p in row] for row in pixels]
        with open(os.path.join(argv[3], 'cursor.png'), 'wb') as f:
            f.write(png_entry(rows))


if __name__ == '__main__':
    main(sys.argv)
