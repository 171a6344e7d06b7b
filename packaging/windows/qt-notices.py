#!/usr/bin/env python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Writes the notices for the third-party code built into the Qt DLLs that
the Windows zip and installer carry (or, with --web, into the web page's
rumida.wasm), from Qt's own records of it: each qt_attribution.json in the
Qt source tree names the code, its copyright and the files holding its
licence, whose text is copied as it is.

Usage: qt-notices.py [--web] <qt source folder> <output file>
"""
import glob
import json
import os
import sys

# What the configure line of scripts/build-qt-windows.sh compiles into the
# DLLs we ship, by attribution Id, as the Qt 6.4.2 build files show: the
# -qt-* libraries, the hashes that qcryptographichash.cpp includes, the
# tables and algorithms Qt Core and Qt GUI always carry, the Markdown reader
# and the PDF writer's data (both on by default). Left out: code for other
# platforms (macOS, Android, X11, Unix forkfd, wasm fonts), for modules or
# features switched off (network, D-Bus, OpenGL, Vulkan, test lib) and the
# build tools' own files.
SHIPPED = [
    ("Qt6Core.dll", [
        "zlib", "pcre2", "pcre2-sljit", "doubleconversion", "tinycbor",
        "md4", "md5", "sha1", "sha3_endian", "sha3_keccak", "rfc6234", "blake2",
        "siphash", "easing", "unicode-character-database", "unicode-cldr",
    ]),
    ("Qt6Gui.dll", [
        "libpng", "harfbuzz-ng", "freetype", "freetype-zlib", "freetype-bdf",
        "freetype-pcf", "grayraster", "smooth-scaling-algorithm", "xserverhelper",
        "webgradients", "md4c", "icc-sRGB-color-profile", "aglfn",
    ]),
    ("imageformats/qjpeg.dll", ["libjpeg"]),
]

# The same code is linked into the web page's program, with the fonts Qt for
# WebAssembly carries for its Latin text (src/3rdparty/wasm), in place of the
# system's.
SHIPPED_WEB = [("rumida.wasm", [ident for _, ids in SHIPPED for ident in ids] + ["vera_font", "dejayvu"])]

# FreeType's LICENSE.txt only points at its two licences; the DLLs use
# FreeType under the FreeType License, whose text is docs/FTL.TXT, and which
# asks for the credit line below in the documentation.
EXTRA_FILES = {"freetype": ["docs/FTL.TXT"]}
CREDITS = {"freetype": "Portions of this software are copyright (C) 2022 The FreeType Project "
                       "(www.freetype.org).  All rights reserved."}


def load_attributions(qt_source):
    found = {}
    for path in sorted(glob.glob(os.path.join(qt_source, "**", "qt_attribution.json"), recursive=True)):
        with open(path, encoding="utf-8") as f:
            # Qt's files hold raw line breaks inside strings.
            data = json.loads(f.read(), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            found.setdefault(entry.get("Id"), []).append((os.path.dirname(path), entry))
    return found


def read_text(path):
    with open(path, encoding="utf-8-sig") as f:
        return f.read().replace("\r\n", "\n").rstrip("\n") + "\n"


def main():
    args = sys.argv[1:]
    web = args[:1] == ["--web"]
    if web:
        args = args[1:]
    if len(args) != 2:
        sys.exit(__doc__)
    qt_source, output = args
    attributions = load_attributions(qt_source)
    if web:
        out = ["Third-party code in the Qt libraries of this program",
               "",
               "The Qt libraries (Qt 6.4.2, under the GNU LGPL version 3, see LGPL-3.0.txt)",
               "linked into rumida.wasm were built with the following code of other authors",
               "inside them. For each, Qt's own record of it follows, then its licence text",
               "as Qt's source carries it.",
               ""]
    else:
        out = ["Third-party code in the Qt DLLs of this program",
               "",
               "The Qt DLLs (Qt 6.4.2, under the GNU LGPL version 3, see LGPL-3.0.txt) were",
               "built with the following code of other authors inside them. For each, Qt's",
               "own record of it follows, then its licence text as Qt's source carries it.",
               ""]
    for dlls, ids in SHIPPED_WEB if web else SHIPPED:
        for ident in ids:
            matches = attributions.get(ident, [])
            if len(matches) != 1:
                sys.exit(f"qt-notices: {len(matches)} attribution entries with Id {ident!r} in {qt_source}")
            folder, entry = matches[0]
            out += ["=" * 78, f"{entry.get('Name', ident)}   [{dlls}]", "=" * 78]
            for key, label in (("QtUsage", "Used"), ("Version", "Version"), ("Homepage", "Homepage"),
                               ("License", "License"), ("LicenseId", "SPDX"), ("Copyright", "Copyright")):
                if entry.get(key):
                    value = entry[key].strip().replace("\r\n", "\n")
                    out.append(f"{label}: " + value.replace("\n", "\n    "))
            if ident in CREDITS:
                out.append(CREDITS[ident])
            files = []
            if entry.get("CopyrightFile"):
                files.append(entry["CopyrightFile"])
            if entry.get("LicenseFile"):
                files.append(entry["LicenseFile"])
            files += entry.get("LicenseFiles", []) + EXTRA_FILES.get(ident, [])
            for name in files:
                path = os.path.normpath(os.path.join(folder, name))
                out += ["", f"--- {os.path.relpath(path, qt_source)} ---", "", read_text(path).rstrip("\n")]
            out.append("")
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
