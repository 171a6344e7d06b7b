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


def icon_png(folder):
    """The 32 x 32 icon image as a PNG, for the Linux desktop entry."""
    px, palette, opaque = sprites.icon_images()[0]
    rgba = np.zeros(px.shape + (4,), np.uint8)
    rgba[..., :3] = np.array(palette, np.uint8)[px]
    rgba[..., 3] = np.where(opaque, 255, 0)
    Image.fromarray(rgba, "RGBA").save(os.path.join(folder, "rumida-32.png"), optimize=True)


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

    try:
        import photos
    except ImportError:
        return 0
    photos.draw_all(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
