#!/usr/bin/env python3
"""Render MossvanePad's icon from drawing primitives and write res/icon.ico.

Run with the system Python that has Pillow (Debian's python3-pil):
    /usr/bin/python3 res/draw_icon.py           rewrite res/icon.ico
    /usr/bin/python3 res/draw_icon.py --check   exit 1 if res/icon.ico is stale

Each image is drawn at about 1024 px from a layout snapped to its own pixel
grid, so small sizes stay crisp, and then downsampled.
"""

import argparse
import io
import struct
import sys
from collections import namedtuple
from pathlib import Path

from PIL import Image, ImageDraw

ICON_PATH = Path(__file__).resolve().parent / "icon.ico"
SUPERSAMPLE = 1024
OPAQUE = 128  # paletted images keep a pixel only from this alpha up

# ---------------------------------------------------------------------------
# Shape definitions, in units of the icon's side (0..1, y down).

SHEET_BOX = (0.04, 0.10, 0.96, 0.74)
SHEET_RADIUS = 0.08
# The tail starts inside the sheet so both fills merge into one outline.
TAIL = ((0.14, 0.62), (0.42, 0.62), (0.07, 0.95))
TEXT_LEFT = 0.14
TEXT_TOP = 0.22
TEXT_BOTTOM = 0.62
TEXT_LENGTHS = (0.72, 0.58, 0.68, 0.40)  # fractions of the sheet's inner width
TEXT_THICKNESS = 0.055
# Classic arrow cursor, tip at the origin, in cursor cells; the stem is
# broad enough to keep some white inside a one-pixel outline.
ARROW = ((0, 0), (0, 15), (3.5, 11.5), (5.5, 17), (9, 16), (7, 11), (11, 11))
ARROW_TIP = (0.52, 0.36)
ARROW_HEIGHT = 0.60

# Up to this size the text has fewer lines, and the image is downsampled by
# area average, which keeps the pixel-snapped edges sharp where Lanczos
# would ring around one- and two-pixel lines.
COMPACT = 32
COMPACT_TEXT_LINES = 3
# Up to this size the tail has no outline and an upright edge, and the arrow
# is larger and drawn without anti-aliasing, since a 1 px outline leaves a
# smoothed arrow hardly any white.
SMALL = 24
SMALL_TAIL = ((0.10, 0.62), (0.40, 0.62), (0.10, 0.94))
SMALL_ARROW_TIP = (0.50, 0.30)
SMALL_ARROW_HEIGHT = 0.70

THEMES = {
    "full": {
        "sheet": (44, 132, 238), "sheet_edge": (18, 74, 158),
        "ink": (255, 255, 255),
        "arrow": (255, 255, 255), "arrow_edge": (16, 24, 40),
    },
    # The 16-colour images use palette entries outright, so that the sheet
    # stays blue instead of drifting to the nearest grey or teal.
    "vga": {
        "sheet": (0, 0, 255), "sheet_edge": (0, 0, 128),
        "ink": (255, 255, 255),
        "arrow": (255, 255, 255), "arrow_edge": (0, 0, 0),
    },
}

VGA_PALETTE = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)

INDEXED_SIZES = (64, 48, 32, 24, 16)
PNG_SIZE = 256
TRUE_COLOUR_SIZES = (128, 64, 48, 32, 24, 16)

# ---------------------------------------------------------------------------
# Layout: shapes for one target size, in that size's pixels.

Shape = namedtuple("Shape", "kind geometry role")  # kind: "rrect" or "poly"


def px(unit, size):
    """Snap a unit coordinate to the target pixel grid."""
    return round(unit * size)


def stroke_width(size):
    return max(1, round(size / 40))


def inset_polygon(points, distance):
    """Move every edge of a simple polygon inwards by distance, joining the
    moved edges at their intersections (mitred corners)."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1]
               - points[(i + 1) % n][0] * points[i][1] for i in range(n))
    side = 1 if area > 0 else -1  # inward normal side for y-down winding
    edges = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
        nx, ny = -dy / length * side, dx / length * side
        edges.append(((x0 + nx * distance, y0 + ny * distance), (dx, dy)))
    return [line_intersection(edges[i - 1], edges[i]) for i in range(n)]


def line_intersection(a, b):
    (ax, ay), (adx, ady) = a
    (bx, by), (bdx, bdy) = b
    det = adx * bdy - ady * bdx
    t = ((bx - ax) * bdy - (by - ay) * bdx) / det
    return (ax + adx * t, ay + ady * t)


def sheet_shapes(size):
    w = stroke_width(size)
    box = tuple(px(v, size) for v in SHEET_BOX)
    inner = (box[0] + w, box[1] + w, box[2] - w, box[3] - w)
    radius = SHEET_RADIUS * size
    tail = [(px(x, size), px(y, size))
            for x, y in (SMALL_TAIL if size <= SMALL else TAIL)]
    sheet = [Shape("rrect", (box, radius), "sheet_edge"),
             Shape("rrect", (inner, max(0.0, radius - w)), "sheet")]
    if size <= SMALL:
        # Drawn over the sheet's edge where the two meet.
        return sheet + [Shape("poly", tail, "sheet")]
    return [sheet[0], Shape("poly", tail, "sheet_edge"), sheet[1],
            Shape("poly", inset_polygon(tail, w), "sheet")]


def text_shapes(size):
    """White text lines, snapped to whole pixels so they stay sharp."""
    count = COMPACT_TEXT_LINES if size <= COMPACT else len(TEXT_LENGTHS)
    thickness = max(1, round(size * TEXT_THICKNESS))
    inner_left = px(SHEET_BOX[0], size) + stroke_width(size)
    inner_right = px(SHEET_BOX[2], size) - stroke_width(size)
    left = max(px(TEXT_LEFT, size), inner_left + 1)
    top, bottom = px(TEXT_TOP, size), px(TEXT_BOTTOM, size)
    pitch = (bottom - top - thickness) // (count - 1)
    # Round caps, except where they would only grey the line's ends.
    cap = thickness / 2 if thickness >= 3 else 0
    shapes = []
    for i, length in enumerate(TEXT_LENGTHS[:count]):
        y = top + i * pitch
        right = max(left + 2, inner_left + round((inner_right - inner_left)
                                                 * length))
        shapes.append(Shape("rrect", ((left, y, right, y + thickness), cap),
                            "ink"))
    return shapes


def arrow_shapes(size):
    small = size <= SMALL
    tip = SMALL_ARROW_TIP if small else ARROW_TIP
    height = SMALL_ARROW_HEIGHT if small else ARROW_HEIGHT
    scale = height * size / max(y for _, y in ARROW)
    tx, ty = px(tip[0], size), px(tip[1], size)
    outline = [(tx + x * scale, ty + y * scale) for x, y in ARROW]
    return [Shape("poly", outline, "arrow_edge"),
            Shape("poly", inset_polygon(outline, stroke_width(size)), "arrow")]


def icon_layout(size):
    """(smooth, crisp): shapes painted in order with anti-aliasing, then
    shapes painted straight onto the target pixels."""
    smooth = sheet_shapes(size) + text_shapes(size)
    if size <= SMALL:
        return smooth, arrow_shapes(size)
    return smooth + arrow_shapes(size), []


# ---------------------------------------------------------------------------
# Rendering


def paint(draw, shapes, colours, scale, offset=0.0):
    for shape in shapes:
        fill = colours[shape.role] + (255,)
        if shape.kind == "rrect":
            box, radius = shape.geometry
            # ImageDraw fills a box's far edge too, so stop a pixel short.
            l, t, r, b = (v * scale for v in box)
            draw.rounded_rectangle((l, t, r - 1, b - 1), radius=radius * scale,
                                   fill=fill)
        else:
            draw.polygon([(x * scale + offset, y * scale + offset)
                          for x, y in shape.geometry], fill=fill)


def render(size, theme, layout=icon_layout):
    """RGBA image of a layout at size x size."""
    smooth, crisp = layout(size)
    colours = THEMES[theme]
    scale = max(1, SUPERSAMPLE // size)
    canvas = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    paint(ImageDraw.Draw(canvas), smooth, colours, scale)
    resample = (Image.Resampling.BOX if size <= COMPACT
                else Image.Resampling.LANCZOS)
    image = clear_transparent(canvas.resize((size, size), resample))
    # Pixel centres sit at half coordinates in the layout.
    paint(ImageDraw.Draw(image), crisp, colours, 1, offset=-0.5)
    return image


def clear_transparent(image):
    """Zero the colour of fully transparent pixels so the output doesn't
    depend on what the resampler left there."""
    data = [p if p[3] else (0, 0, 0, 0) for p in image.getdata()]
    out = Image.new("RGBA", image.size)
    out.putdata(data)
    return out


# ---------------------------------------------------------------------------
# Palettes


def vga_candidates():
    """Palette indices anti-aliased pixels may take: the theme's own colours
    and the greys between them, never an unrelated hue such as yellow."""
    wanted = set(THEMES["vga"].values()) | {(128, 128, 128), (192, 192, 192)}
    return [i for i, c in enumerate(VGA_PALETTE) if c in wanted]


def nearest(colour, candidates):
    def distance(i):
        return sum((a - b) ** 2 for a, b in zip(colour, VGA_PALETTE[i]))

    return min(candidates, key=distance)


def to_vga(image):
    """(palette, indices) of an RGBA image in the 16 standard colours;
    transparent pixels get index 0."""
    candidates = vga_candidates()
    indices = [nearest((r, g, b), candidates) if a >= OPAQUE else 0
               for r, g, b, a in image.getdata()]
    return list(VGA_PALETTE), indices


def to_adaptive(image):
    """(palette, indices) with index 0 black for transparent pixels and up to
    255 colours chosen for the opaque ones."""
    pixels = list(image.getdata())
    opaque = [p[:3] for p in pixels if p[3] >= OPAQUE]
    strip = Image.new("RGB", (len(opaque), 1))
    strip.putdata(opaque)
    quantized = strip.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                               dither=Image.Dither.NONE)
    flat = quantized.getpalette()
    palette = [(0, 0, 0)] + [tuple(flat[i:i + 3])
                             for i in range(0, len(flat), 3)][:255]
    palette += [(0, 0, 0)] * (256 - len(palette))
    chosen = iter(quantized.getdata())
    indices = [next(chosen) + 1 if p[3] >= OPAQUE else 0 for p in pixels]
    return palette, indices


# ---------------------------------------------------------------------------
# ICO container


def row_bytes(width, bpp):
    return (width * bpp + 31) // 32 * 4


def bottom_up_rows(values, size):
    return [values[y * size:(y + 1) * size] for y in range(size - 1, -1, -1)]


def pack_bits(values, bpp, size):
    """Pack small integers MSB-first into bottom-up rows padded to 4 bytes."""
    per_byte = 8 // bpp
    out = bytearray()
    for row in bottom_up_rows(values, size):
        packed = bytearray()
        for start in range(0, size, per_byte):
            byte = 0
            for k, v in enumerate(row[start:start + per_byte]):
                byte |= v << (8 - bpp * (k + 1))
            packed.append(byte)
        packed += bytes(row_bytes(size, bpp) - len(packed))
        out += packed
    return bytes(out)


def and_mask(image):
    return pack_bits([1 if a < OPAQUE else 0 for *_, a in image.getdata()],
                     1, image.width)


def dib(size, bpp, colour_table, xor_bits, mask):
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0,
                         len(xor_bits) + len(mask), 0, 0, 0, 0)
    return header + colour_table + xor_bits + mask


def indexed_dib(image, palette, indices, bpp):
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return dib(image.width, bpp, table,
               pack_bits(indices, bpp, image.width), and_mask(image))


def true_colour_dib(image):
    size = image.width
    pixels = list(image.getdata())
    xor_bits = b"".join(struct.pack("<BBBB", b, g, r, a)
                        for row in bottom_up_rows(pixels, size)
                        for r, g, b, a in row)
    return dib(size, 32, b"", xor_bits, and_mask(image))


def png_bytes(image):
    buffer = io.BytesIO()
    image.save(buffer, "PNG", compress_level=9)
    return buffer.getvalue()


def icon_entries():
    """(size, colour count, bit count, data) for every image, in file order."""
    full = {size: render(size, "full")
            for size in set(INDEXED_SIZES + (PNG_SIZE,) + TRUE_COLOUR_SIZES)}
    entries = []
    for size in INDEXED_SIZES:
        image = render(size, "vga")
        palette, indices = to_vga(image)
        entries.append((size, 16, 4, indexed_dib(image, palette, indices, 4)))
    for size in INDEXED_SIZES:
        image = full[size]
        palette, indices = to_adaptive(image)
        entries.append((size, 0, 8, indexed_dib(image, palette, indices, 8)))
    entries.append((PNG_SIZE, 0, 32, png_bytes(full[PNG_SIZE])))
    for size in TRUE_COLOUR_SIZES:
        entries.append((size, 0, 32, true_colour_dib(full[size])))
    return entries


def ico_bytes(entries):
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(header) + 16 * len(entries)
    directory, images = b"", b""
    for size, colours, bpp, data in entries:
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, colours, 0, 1, bpp,
                                 len(data), offset)
        images += data
        offset += len(data)
    return header + directory + images


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with res/icon.ico instead of writing")
    args = parser.parse_args()
    data = ico_bytes(icon_entries())
    if args.check:
        if not ICON_PATH.exists() or ICON_PATH.read_bytes() != data:
            print(f"{ICON_PATH} is out of date: run {Path(__file__).name}",
                  file=sys.stderr)
            return 1
        return 0
    ICON_PATH.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
