#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Writes the page's service worker into a page folder, with its list of files.

Usage: offline.py <page folder> <version>

The worker (web/service-worker.js) keeps for offline play every file of the
folder but the compressed copies, the worker itself and the licences' copy of
the font (only wanted by someone who replaces it): each with its type, size,
SHA-256, and the compressed copies (.br, .gz) the folder has of it. Its cache
is named by the version and a hash of that list, so any change to a file
gives a new cache. Run it after the folder is complete; the same folder gives
the same worker, byte for byte.
"""

import hashlib
import json
import os
import sys

TYPES = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm", ".ico": "image/vnd.microsoft.icon", ".png": "image/png",
    ".txt": "text/plain; charset=utf-8", ".webmanifest": "application/manifest+json",
}
WORKER = "service-worker.js"


def kept(path):
    return not (path.endswith((".br", ".gz")) or path == WORKER or path.endswith(".ttf"))


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    folder, version = argv[1], argv[2]
    template = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web", WORKER)
    paths = []
    for root, dirs, names in os.walk(folder):
        dirs.sort()
        for name in names:
            paths.append(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/"))
    files = []
    for path in sorted(p for p in paths if kept(p)):
        extension = os.path.splitext(path)[1]
        if extension not in TYPES:
            sys.stderr.write("offline.py: no type known for %s\n" % path)
            return 1
        with open(os.path.join(folder, path), "rb") as f:
            data = f.read()
        files.append({"path": path, "type": TYPES[extension], "bytes": len(data),
                      "sha256": hashlib.sha256(data).hexdigest(),
                      "encodings": [e for e in ("br", "gz") if os.path.isfile(os.path.join(folder, path + "." + e))]})
    listing = json.dumps(files, sort_keys=True, separators=(",", ":")).encode()
    offline = {"cache": "rumida-%s-%s" % (version, hashlib.sha256(listing).hexdigest()[:12]), "files": files}
    with open(template, encoding="utf-8") as f:
        worker = f.read()
    if "@OFFLINE@" not in worker:
        sys.stderr.write("offline.py: %s has no @OFFLINE@ to fill in\n" % template)
        return 1
    with open(os.path.join(folder, WORKER), "w", encoding="utf-8") as f:
        f.write(worker.replace("@OFFLINE@", json.dumps(offline, indent=1, sort_keys=True)))
    print(offline["cache"])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
