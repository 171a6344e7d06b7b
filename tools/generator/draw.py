#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Draws every picture the game carries into the folder given on the command line.

Usage: /usr/bin/python3 tools/generator/draw.py resources/pictures
Needs Debian's python3-pil and python3-numpy. The output is committed; the
build never runs this. Every picture is drawn from fixed seeds, so running it
again gives the same bytes.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

import formats  # noqa: E402
import sprites  # noqa: E402


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def icon_rgba():
    """The 32 x 32 icon image as RGBA pixels, transparent outside its disc."""
    px, palette, opaque = sprites.icon_images()[0]
    rgba = np.zeros(px.shape + (4,), np.uint8)
    rgba[..., :3] = np.array(palette, np.uint8)[px]
    rgba[..., 3] = np.where(opaque, 255, 0)
    return rgba


def save_png(folder, name, rgba):
    Image.fromarray(rgba, "RGBA").save(os.path.join(folder, name), optimize=True)


def icon_png(folder):
    """The 32 x 32 icon image as a PNG, for the Linux desktop entry."""
    save_png(folder, "rumida-32.png", icon_rgba())


# The page's background colour, which the web app's manifest also names.
PAGE_BACKGROUND = (0xD4, 0xD0, 0xC8, 255)


def web_icons(folder):
    """The icons a browser installs the web page with, from the 32 x 32 icon.

    The icon is pixel art, so each pixel becomes a square block (6 x 6 at 192,
    16 x 16 at 512), never blended. The maskable icon fills its whole square
    with the page's colour, and its disc (12 x 12 blocks, 384 pixels across)
    lies inside the middle circle of 80 % that every mask shape keeps.
    """
    rgba = icon_rgba()
    for size in (192, 512):
        block = size // rgba.shape[0]
        save_png(folder, "rumida-%d.png" % size, np.kron(rgba, np.ones((block, block, 1), np.uint8)))
    disc = np.kron(rgba, np.ones((12, 12, 1), np.uint8))
    maskable = np.empty((512, 512, 4), np.uint8)
    maskable[...] = PAGE_BACKGROUND
    at = (512 - disc.shape[0]) // 2
    inside = disc[..., 3:] == 255
    region = maskable[at:at + disc.shape[0], at:at + disc.shape[1]]
    region[...] = np.where(inside, disc, region)
    save_png(folder, "rumida-maskable-512.png", maskable)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)

    px, palette = sprites.course()
    write(folder, "course.gif", formats.gif89a(px, palette))
    for name, colour in sprites.HORSE_COLOURS.items():
        px, palette = sprites.horse(colour)
        write(folder, "horse_%s.gif" % name, formats.gif89a(px, palette, transparent=255))
    write(folder, "rumida.ico", formats.ico(sprites.icon_images()))
    icon_png(folder)
    web_icons(folder)

    try:
        import photos
    except ImportError:
        return 0
    photos.draw_all(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
