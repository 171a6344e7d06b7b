#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Adds the two-line SPDX header (copyright and licence) to every tracked file
that can hold a comment and lacks one; the files that cannot are listed in
.reuse/dep5. The maker and the years come from the top CMakeLists.txt.

    scripts/spdx-headers.py          add the missing headers
    scripts/spdx-headers.py --check  only list the files that lack one

The header goes at the very top, after a shebang, an XML declaration or a
Python coding line, so that it never moves what must come first.
"""
import fnmatch
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# The tags are split so that REUSE does not read this script's text as its header.
MARK = "SPDX-" + "License-Identifier:"

# How each kind of file writes a comment line, by file name pattern.
STYLES = [
    (("*.cpp", "*.h", "*.h.in", "*.rc.in"), "// {}"),
    (("CMakeLists.txt", "*.cmake", "*.sh", "*.py", "Makefile", ".gitignore",
      "*.supp", "*.dict", "*.desktop", "*.nsi"), "# {}"),
    (("*.reg",), "; {}"),
    (("*.xml", "*.xml.in", "*.md"), "<!-- {} -->"),
    (("*.6.in",), '.\\" {}'),
]


def dep5_patterns():
    patterns = []
    for line in (ROOT / ".reuse" / "dep5").read_text(encoding="utf-8").splitlines():
        if line.startswith("Files:"):
            patterns += line.split()[1:]
    return patterns


def holder():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    vendor = re.search(r'set\(RUMIDA_VENDOR "([^"]+)"\)', text).group(1)
    years = re.search(r'set\(RUMIDA_COPYRIGHT_YEARS "([^"]+)"\)', text).group(1)
    return f"{years} {vendor}"


def style_of(path):
    for patterns, style in STYLES:
        if any(fnmatch.fnmatch(path.name, p) for p in patterns):
            return style
    return None


def insertion_point(lines):
    at = 0
    # A script's interpreter line, an XML declaration and a registry file's
    # format line stay first.
    if lines and (lines[0].startswith("#!") or lines[0].startswith("<?xml")
                  or lines[0].startswith("Windows Registry Editor")):
        at = 1
    if len(lines) > at and re.match(r"^#.*coding[:=]", lines[at]):
        at += 1
    return at


def main():
    check = "--check" in sys.argv[1:]
    header = ["SPDX-" + "FileCopyrightText: " + holder(), MARK + " MIT"]
    covered = dep5_patterns()
    # LICENSE and LICENSES/ are the licence texts themselves; .reuse/ is REUSE's own.
    ignored = ["LICENSE", "LICENSES/*", ".reuse/*"]
    files = subprocess.run(["git", "ls-files"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.splitlines()
    lacking, unknown = [], []
    for name in files:
        if any(fnmatch.fnmatch(name, p) for p in covered + ignored):
            continue
        path = ROOT / name
        style = style_of(path)
        if style is None:
            unknown.append(name)
            continue
        text = path.read_text(encoding="utf-8")
        lines = text.splitlines(keepends=True)
        if any(MARK in line for line in lines[:5]):
            continue
        lacking.append(name)
        if check:
            continue
        at = insertion_point(lines)
        lines[at:at] = [style.format(h) + "\n" for h in header]
        path.write_text("".join(lines), encoding="utf-8")
    for name in unknown:
        print(f"no comment style known for {name}: give it one here or list it in .reuse/dep5",
              file=sys.stderr)
    for name in lacking:
        print(("lacks a header: " if check else "header added: ") + name)
    return 1 if unknown or (check and lacking) else 0


if __name__ == "__main__":
    sys.exit(main())
