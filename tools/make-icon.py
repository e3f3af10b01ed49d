#!/usr/bin/env python3
"""Draws Wrenfold's application icon and writes src/win32/res/wrenfold.ico.

A folded-paper wing on a rounded teal square. Every size is drawn at its own resolution
(no downscaling of a big bitmap), with edges anti-aliased from their exact distance to the
pixel centre, so 16 px stays crisp. Standard library only: the build uses the committed
.ico, and this script is run by hand when the artwork changes.

    tools/make-icon.py [--out PATH] [--preview PATH] [--sheet PATH]
"""

import argparse
import math
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
DIB_SIZES = (16, 20, 24, 32, 48)
PNG_SIZES = (256,)

# Colours as (r, g, b) in 0..255.
TILE_TOP = (38, 150, 150)
TILE_BOTTOM = (16, 84, 98)
TILE_EDGE = (9, 52, 62)
PAPER = (255, 255, 255)
PAPER_SHADE = (196, 229, 228)
PAPER_FOLD = (245, 178, 66)


# --- geometry (unit square, y down) ---------------------------------------------------------

def rounded_rect_distance(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle: negative inside."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - radius


def polygon_distance(x, y, points):
    """Signed distance to a simple polygon: negative inside."""
    best = float("inf")
    inside = False
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        wx, wy = x - ax, y - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        best = min(best, math.hypot(wx - ex * t, wy - ey * t))
        if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
            inside = not inside
    return -best if inside else best


def coverage(distance, pixel):
    """Area of a pixel covered by a shape, from the signed distance at its centre."""
    return max(0.0, min(1.0, 0.5 - distance / pixel))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# --- the artwork ----------------------------------------------------------------------------

def wing_facets(size):
    """The mark: a wing folded once, a lit upper facet, a shaded lower one and a warm crease.

    Small sizes get a slightly heavier mark so the fold still reads at 16 px."""
    s = 1.08 if size >= 32 else 1.16
    def at(px, py):
        return (0.5 + (px - 0.5) * s, 0.5 + (py - 0.5) * s)
    tip = at(0.82, 0.19)
    root_top = at(0.17, 0.50)
    crease = at(0.47, 0.60)
    root_low = at(0.30, 0.82)
    fold_end = at(0.60, 0.74)
    return [
        (PAPER, [root_top, tip, crease]),
        (PAPER_SHADE, [crease, tip, fold_end, root_low]),
        (PAPER_FOLD, [root_top, crease, root_low]),
    ]


def render(size):
    """Returns size*size straight-alpha (r, g, b, a) pixels, rows top to bottom, values 0..1."""
    pixel = 1.0 / size
    inset = 0.5 * pixel if size <= 24 else 0.03
    radius = 0.22
    edge = max(pixel, 0.02)
    facets = wing_facets(size)
    out = []
    for row in range(size):
        y = (row + 0.5) * pixel
        for col in range(size):
            x = (col + 0.5) * pixel
            d_tile = rounded_rect_distance(x, y, inset, inset, 1 - inset, 1 - inset, radius)
            alpha = coverage(d_tile, pixel)
            if alpha <= 0.0:
                out.append((0.0, 0.0, 0.0, 0.0))
                continue
            # A darker rim keeps the tile apart from light task bars; the tile itself is light
            # enough to stand out on dark ones.
            colour = mix(TILE_TOP, TILE_BOTTOM, (y - inset) / (1 - 2 * inset))
            colour = mix(TILE_EDGE, colour, coverage(d_tile + edge, pixel))
            for paint, points in facets:
                colour = mix(colour, paint, coverage(polygon_distance(x, y, points), pixel))
            out.append((colour[0] / 255, colour[1] / 255, colour[2] / 255, alpha))
    return out


def to_bytes(value):
    return max(0, min(255, int(round(value * 255))))


# --- file formats ---------------------------------------------------------------------------

def png_bytes(size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in range(size):
        raw.append(0)  # filter: none
        for r, g, b, a in pixels[row * size:(row + 1) * size]:
            raw += bytes((to_bytes(r), to_bytes(g), to_bytes(b), to_bytes(a)))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def dib_bytes(size, pixels):
    """A 32-bit BGRA icon image: header, colour rows bottom-up, then the 1-bit AND mask."""
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(range(size)):
        line = pixels[row * size:(row + 1) * size]
        bits = bytearray(mask_stride)
        for col, (r, g, b, a) in enumerate(line):
            colour += bytes((to_bytes(b), to_bytes(g), to_bytes(r), to_bytes(a)))
            if to_bytes(a) == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, encoded bytes)."""
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    body = b""
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return directory + body


def sheet_png(renders, scale=4, pad=8):
    """Every size blown up with square pixels, over a light strip and a dark strip."""
    sizes = sorted(renders)
    width = sum(s * scale for s in sizes) + pad * (len(sizes) + 1)
    band = max(sizes) * scale + 2 * pad
    backgrounds = ((240, 240, 240), (32, 32, 32))
    canvas = [[list(bg) for _ in range(width)] for bg in backgrounds for _ in range(band)]
    for strip, _ in enumerate(backgrounds):
        left = pad
        for s in sizes:
            pixels = renders[s]
            for row in range(s * scale):
                for col in range(s * scale):
                    r, g, b, a = pixels[(row // scale) * s + col // scale]
                    target = canvas[strip * band + pad + row][left + col]
                    for i, v in enumerate((r, g, b)):
                        target[i] = target[i] * (1 - a) + v * 255 * a
            left += s * scale + pad
    flat = [(c[0] / 255, c[1] / 255, c[2] / 255, 1.0) for line in canvas for c in line]
    # png_bytes wants a square; pad the sheet into one.
    side = max(width, len(canvas))
    square = []
    for row in range(side):
        for col in range(side):
            square.append(flat[row * width + col] if row < len(canvas) and col < width else (1.0, 1.0, 1.0, 1.0))
    return png_bytes(side, square)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "src/win32/res/wrenfold.ico")
    parser.add_argument("--preview", type=pathlib.Path, default=pathlib.Path("/tmp/wrenfold-icon-64.png"))
    parser.add_argument("--sheet", type=pathlib.Path, default=None,
                        help="also write every size enlarged on light and dark backgrounds")
    args = parser.parse_args()

    renders = {size: render(size) for size in DIB_SIZES + PNG_SIZES}
    images = [(size, dib_bytes(size, renders[size])) for size in DIB_SIZES]
    images += [(size, png_bytes(size, renders[size])) for size in PNG_SIZES]
    args.out.parent.mkdir(parents=True, exist_ok=True)
    args.out.write_bytes(ico_bytes(images))
    print(f"wrote {args.out}")
    args.preview.write_bytes(png_bytes(64, render(64)))
    print(f"preview {args.preview}")
    if args.sheet:
        args.sheet.write_bytes(sheet_png({s: renders[s] for s in DIB_SIZES}))
        print(f"sheet {args.sheet}")


if __name__ == "__main__":
    main()
