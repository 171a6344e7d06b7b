#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Lays the committed pictures out on one sheet, for looking at them together.

Usage: /usr/bin/python3 tools/generator/contact_sheet.py resources/pictures docs/pictures.png
Top: the course with the four horses in their stalls and one on the way, the
icon at 1x and 4x. Below: the splash card and the eight gallery photographs.
"""

import os
import sys

from PIL import Image


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    src, out = argv[1], argv[2]
    pic = lambda name: Image.open(os.path.join(src, name))
    gap = 8
    cell_w, cell_h = 337, 279
    sheet_w = max(3 * cell_w + 4 * gap, 1000 + 3 * gap + 4 * 32)
    top_h = 200 * 2 + 2 * gap
    sheet = Image.new("RGB", (sheet_w, top_h + 3 * cell_h + 3 * gap), (40, 40, 40))

    course = pic("course.gif").convert("RGBA")
    for i, name in enumerate(("aka", "cha", "ki", "shiro")):
        horse = pic("horse_%s.gif" % name).convert("RGBA")
        course.alpha_composite(horse, (456, 8 + 48 * i))
        if i == 1:
            course.alpha_composite(horse, (260, 8 + 48 * i))
    sheet.paste(course.convert("RGB").resize((1000, 400), Image.NEAREST), (gap, gap))

    icon = pic("rumida.ico")
    x = 1000 + 2 * gap
    y = gap
    for size in ((32, 32), (16, 16)):
        icon.size = size
        im = icon.convert("RGBA")
        for scale in (1, 4):
            big = im.resize((size[0] * scale, size[1] * scale), Image.NEAREST)
            sheet.paste(big, (x, y), big)
            y += big.height + gap

    photos = ["splash.bmp"] + ["zelko%d.jpg" % n for n in range(1, 9)]
    for i, name in enumerate(photos):
        im = pic(name).convert("RGB")
        cx = gap + (i % 3) * (cell_w + gap)
        cy = top_h + gap + (i // 3) * (cell_h + gap)
        sheet.paste(im, (cx + (cell_w - im.width) // 2, cy + (cell_h - im.height) // 2))
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    sheet.save(out, optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
