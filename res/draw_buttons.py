#!/usr/bin/env python3
"""Render the button faces, their region masks and the pin into res/images/.

Run with the system Python that has Pillow (Debian's python3-pil):
    /usr/bin/python3 res/draw_buttons.py           rewrite the images
    /usr/bin/python3 res/draw_buttons.py --check   exit 1 if any is stale

Each picture is drawn at 100, 150 and 200 percent (files without a suffix,
with "-150" and with "-200"), for displays scaled that far; the program
scales the next larger set down to any scale between. Each is one coverage
image, drawn from the shapes below at 16 times its size and averaged down. The grey face, the blue face and the mask are
all taken from that one coverage, so a face and its mask always agree: a
mask pixel is pure white exactly where both faces are fully transparent.
"""

import argparse
import io
import math
import sys
from pathlib import Path

from PIL import Image, ImageDraw

IMAGE_DIR = Path(__file__).resolve().parent / "images"
SUPERSAMPLE = 16
GREY = (106, 106, 106)
BLUE = (44, 132, 238)
# Coverage below this (of 255) is dropped, so that no faint fringe pixel
# widens a button's region or shows up as a speck around the icon.
FAINT = 12

# ---------------------------------------------------------------------------
# Shape definitions, in the picture's own pixels (0..size, y down). A picture
# is a list of (operation, shape): "add" paints the shape, "cut" clears it.


def rect(x0, y0, x1, y1, radius=0.0):
    return ("rect", (x0, y0, x1, y1), radius)


def circle(cx, cy, r):
    return ("ellipse", (cx - r, cy - r, cx + r, cy + r))


def poly(*points):
    return ("poly", points)


def bar(p, q, width):
    """A straight stroke from p to q with square ends."""
    (x0, y0), (x1, y1) = p, q
    length = math.hypot(x1 - x0, y1 - y0)
    nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
    return poly((x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                (x1 - nx, y1 - ny), (x0 - nx, y0 - ny))


def along(origin, angle, u, v):
    """The point u along and v across an axis from origin at angle."""
    c, s = math.cos(angle), math.sin(angle)
    return (origin[0] + u * c - v * s, origin[1] + u * s + v * c)


def new_memo():
    """A page with a folded lower right corner, a plus in a circle at its
    lower left."""
    page = [("add", poly((15, 3), (44, 3), (44, 31), (33, 42), (15, 42)))]
    # The turned-up corner, set off from the page by a thin gap.
    fold = [("cut", rect(30.5, 28.5, 44, 42)),
            ("add", poly((32.5, 30.5), (42, 30.5), (32.5, 40)))]
    lines = [("cut", rect(21, y, x1, y + 2.5, 1.25))
             for y, x1 in ((10, 38), (16.5, 38), (23, 34))]
    cx, cy = 13.5, 36
    badge = [("cut", circle(cx, cy, 13.5)),
             ("add", circle(cx, cy, 11)),
             ("cut", rect(cx - 6.5, cy - 1.5, cx + 6.5, cy + 1.5, 0.5)),
             ("cut", rect(cx - 1.5, cy - 6.5, cx + 1.5, cy + 6.5, 0.5))]
    return page + fold + lines + badge


def copy_memo():
    """A spiral-bound notepad with a pencil lying across its right edge."""
    pad = [("add", rect(5, 9, 33, 46, 3))]
    # Each ring passes through a hole punched below the pad's top edge.
    rings = []
    for x in (11, 19, 27):
        rings += [("cut", rect(x - 3, 11, x + 3, 17.5, 3)),
                  ("add", rect(x - 1.5, 3, x + 1.5, 16, 1.5))]
    lines = [("cut", rect(10, y, 28, y + 2.5, 1.25)) for y in (22, 28.5, 35)]
    return pad + rings + lines + pencil(tip=(21, 43), angle=-math.radians(58))


def pencil(tip, angle):
    half = 4.0
    gap = 2.0

    def outline(u0, u1, h):
        return poly(along(tip, angle, u0, -h), along(tip, angle, u1, -h),
                    along(tip, angle, u1, h), along(tip, angle, u0, h))

    length = 38
    clearance = [("cut", poly(along(tip, angle, -gap * 1.8, 0),
                              along(tip, angle, 9, -half - gap),
                              along(tip, angle, length + gap, -half - gap),
                              along(tip, angle, length + gap, half + gap),
                              along(tip, angle, 9, half + gap)))]
    point = [("add", poly(along(tip, angle, 0, 0),
                          along(tip, angle, 9, -half),
                          along(tip, angle, 9, half)))]
    body = [("add", outline(10.5, length - 7.5, half))]
    eraser = [("add", outline(length - 6, length, half))]
    return clearance + point + body + eraser


def delete_memo():
    """A waste bin with a lid and a handle."""
    handle = [("add", rect(18, 3, 32, 10, 2.5)),
              ("cut", rect(21, 6, 29, 10))]
    lid = [("add", rect(7, 9, 43, 14, 2))]
    body = [("add", poly((10, 17), (40, 17), (37, 46), (13, 46)))]
    slots = [("cut", rect(x - 1.3, 22, x + 1.3, 41, 1.3)) for x in (18, 25, 32)]
    return handle + lid + body + slots


def settings():
    """A gear wheel with eight teeth and a round hole."""
    cx, cy, teeth = 25, 25, 8
    outer, root = 23, 17.5
    points = []
    for i in range(teeth):
        centre = 2 * math.pi * i / teeth
        for offset, radius in ((-14, root), (-8.5, outer), (8.5, outer),
                               (14, root)):
            a = centre + math.radians(offset)
            points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return [("add", circle(cx, cy, root + 0.5)),
            ("add", poly(*points)),
            ("cut", circle(cx, cy, 7.5))]


def push_pin():
    """An upright push-pin, on whole pixels so that it stays crisp at 15 px."""
    return [("add", rect(4, 0, 11, 2)),      # cap
            ("add", rect(5, 2, 10, 8)),      # barrel
            ("add", rect(2, 8, 13, 10)),     # collar
            ("add", rect(7, 10, 8, 15))]     # needle


# The four buttons in the order of their command ids, and the pin; the
# resource script gives each file its id.
BUTTON_SIZE = 50
BUTTONS = (("new", new_memo), ("copy", copy_memo), ("delete", delete_memo),
           ("settings", settings))
PIN_SIZE = 15
# Percent of the 96-DPI size, and the suffix of the files of that scale.
SCALES = ((100, ""), (150, "-150"), (200, "-200"))

# ---------------------------------------------------------------------------
# Rendering


def coverage(size, shapes, percent=100):
    """An 'L' image: 255 where the picture is fully covered, 0 where not;
    size and shapes are given at 100 percent."""
    pixels = (size * percent + 50) // 100
    s = SUPERSAMPLE * percent // 100  # supersampled units per shape unit
    canvas = Image.new("L", (pixels * SUPERSAMPLE, pixels * SUPERSAMPLE), 0)
    draw = ImageDraw.Draw(canvas)
    for operation, shape in shapes:
        fill = 255 if operation == "add" else 0
        kind = shape[0]
        if kind == "rect":
            (x0, y0, x1, y1), radius = shape[1], shape[2]
            # ImageDraw fills a box's far edge too, so stop a pixel short.
            box = (x0 * s, y0 * s, x1 * s - 1, y1 * s - 1)
            draw.rounded_rectangle(box, radius=radius * s, fill=fill)
        elif kind == "ellipse":
            x0, y0, x1, y1 = shape[1]
            draw.ellipse((x0 * s, y0 * s, x1 * s - 1, y1 * s - 1), fill=fill)
        else:
            draw.polygon([(x * s, y * s) for x, y in shape[1]], fill=fill)
    alpha = canvas.resize((pixels, pixels), Image.Resampling.BOX)
    return alpha.point(lambda a: a if a >= FAINT else 0)


def face(alpha, colour):
    """The flat colour with the coverage as its opacity (not premultiplied);
    fully transparent pixels are all zero."""
    solid = Image.new("RGBA", alpha.size, colour + (255,))
    solid.putalpha(alpha)
    image = Image.new("RGBA", alpha.size, (0, 0, 0, 0))
    image.paste(solid, mask=alpha.point(lambda a: 255 if a else 0))
    return image


def mask(alpha):
    """Black where covered, grey at the edges, pure white outside; opaque."""
    grey = alpha.point(lambda a: 255 - a)
    return Image.merge("RGB", (grey, grey, grey))


def png_bytes(image):
    buffer = io.BytesIO()
    image.save(buffer, "PNG", compress_level=9)
    return buffer.getvalue()


def outputs():
    """{file name: PNG bytes} of every picture."""
    files = {}
    for percent, suffix in SCALES:
        for stem, shapes in BUTTONS:
            alpha = coverage(BUTTON_SIZE, shapes(), percent)
            files[f"{stem}{suffix}.png"] = png_bytes(face(alpha, GREY))
            files[f"{stem}-hover{suffix}.png"] = png_bytes(face(alpha, BLUE))
            files[f"{stem}-mask{suffix}.png"] = png_bytes(mask(alpha))
        alpha = coverage(PIN_SIZE, push_pin(), percent)
        files[f"pin{suffix}.png"] = png_bytes(face(alpha, GREY))
        files[f"pin-checked{suffix}.png"] = png_bytes(face(alpha, BLUE))
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the existing images instead of writing")
    args = parser.parse_args()
    files = outputs()
    if args.check:
        stale = [name for name, data in files.items()
                 if not (IMAGE_DIR / name).exists()
                 or (IMAGE_DIR / name).read_bytes() != data]
        for name in stale:
            print(f"{IMAGE_DIR / name} is out of date: run {Path(__file__).name}",
                  file=sys.stderr)
        return 1 if stale else 0
    IMAGE_DIR.mkdir(exist_ok=True)
    for name, data in files.items():
        (IMAGE_DIR / name).write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
