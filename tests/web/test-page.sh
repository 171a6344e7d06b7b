#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# A page folder for the browser tests: the page make web made (dist/) with a
# test program of the web build in the place of the game's, and the service
# worker's list of files made for it.
# Usage: test-page.sh <web build folder> <program, in tests/web/> <page folder>
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build=$(cd "${1:?usage: test-page.sh <web build folder> <program> <page folder>}" && pwd)
program=${2:?usage: test-page.sh <web build folder> <program> <page folder>}
page=${3:?usage: test-page.sh <web build folder> <program> <page folder>}
[ -f "$build/dist/index.html" ] || { echo "test-page: no page in $build/dist (make web)" >&2; exit 1; }
[ -f "$build/tests/web/$program.wasm" ] || { echo "test-page: no $program in $build/tests/web" >&2; exit 1; }

rm -rf "$page"
cp -r "$build/dist" "$page"
rm -f "$page"/rumida.js* "$page"/rumida.wasm* "$page"/index.html.* "$page"/service-worker.js*
cp "$build/tests/web/$program.js" "$page/rumida.js"
cp "$build/tests/web/$program.wasm" "$page/rumida.wasm"
sed -i "s/data-wasm-bytes=\"[0-9]*\"/data-wasm-bytes=\"$(stat -c %s "$page/rumida.wasm")\"/" "$page/index.html"
/usr/bin/python3 "$here/packaging/web/offline.py" "$page" \
  "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" >/dev/null
