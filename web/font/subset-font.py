#!/usr/bin/env python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Makes the Japanese font the web page carries: a subset of a TrueType font
(IPA's proportional Gothic) with what the game draws, renamed as the IPA Font
License asks of a derived font.

Usage: subset-font.py FONT OUTPUT SOURCE_FOLDER...

The subset holds
- every character the game's own code writes (its captions, help text and
  messages), read from the sources in the folders given;
- what a player may type or paste into an amount box and see: ASCII and
  Latin-1 (the yen sign among them), the full-width forms (digits, signs, the
  yen sign U+FFE5), Japanese punctuation and the ideographic space, hiragana
  and katakana, and the first level of JIS kanji (the 2,965 in everyday use).
Anything else pasted shows as the font's empty box.
"""
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Rumida Gothic"

RANGES = [
    (0x0020, 0x007E),  # ASCII
    (0x00A0, 0x00FF),  # Latin-1: the yen sign, the no-break space
    (0x2010, 0x2027),  # dashes, quotation marks, ellipsis
    (0x3000, 0x303F),  # Japanese punctuation, the ideographic space
    (0x3041, 0x309F),  # hiragana
    (0x30A0, 0x30FF),  # katakana
    (0xFF01, 0xFF9F),  # full-width ASCII and half-width katakana
    (0xFFE0, 0xFFE6),  # full-width yen, pound and cent signs
]


def jis_level_one():
    """The kanji of JIS X 0208's first level: rows 16 to 47."""
    kanji = set()
    for row in range(16, 48):
        for cell in range(1, 95):
            try:
                kanji.add(bytes([0xA0 + row, 0xA0 + cell]).decode("euc_jp"))
            except UnicodeDecodeError:
                pass
    return kanji


def source_characters(folders):
    characters = set()
    for folder in folders:
        for path in sorted(pathlib.Path(folder).rglob("*")):
            if path.suffix in (".cpp", ".h") and path.is_file():
                characters.update(c for c in path.read_text(encoding="utf-8") if ord(c) > 0x7E)
    return characters


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font_path, output, folders = sys.argv[1], sys.argv[2], sys.argv[3:]

    characters = source_characters(folders) | jis_level_one()
    for first, last in RANGES:
        characters.update(chr(c) for c in range(first, last + 1))
    unicodes = sorted(ord(c) for c in characters if c.isprintable() or c == "\u3000")

    options = subset.Options()
    options.layout_features = ["*"]  # kerning and vertical forms as the font has them
    options.name_IDs = ["*"]
    options.notdef_outline = True  # the empty box for what the subset lacks
    options.hinting = False  # Qt draws the page's text unhinted
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=unicodes)
    subsetter.subset(font)

    # A derived font may not carry the original's name (IPA Font License,
    # Article 3.1 (4)): every name record says "Rumida Gothic" instead.
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 16):
            value = FAMILY
        elif record.nameID in (2, 17):
            value = "Regular"
        elif record.nameID in (3, 4):
            value = FAMILY if record.nameID == 4 else FAMILY + ";subset"
        elif record.nameID == 6:
            value = FAMILY.replace(" ", "")
        else:
            continue
        names.setName(value, record.nameID, record.platformID, record.platEncID, record.langID)
    # Fixed times, so that the same sources give the same bytes.
    font["head"].created = font["head"].modified = 0
    font.save(output, reorderTables=True)
    print(f"{output}: {len(unicodes)} characters, {pathlib.Path(output).stat().st_size} bytes")


if __name__ == "__main__":
    main()
