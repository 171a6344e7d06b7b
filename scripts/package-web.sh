#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# What a web host serves: the page folder (index.html, the program, Qt's
# loader, the icons and the licences), with the program, the loader and the
# page's own files also pre-compressed (.gz, .br) for hosts that serve those,
# and a zip of the whole folder.
#
# Usage: package-web.sh --build <web build folder> --qt <Qt prefix> --version <x.yy> --out <folder>
#   writes <out>/ (the page folder) and, beside it, rumida-<version>-web.zip
#
# Nothing in the folder needs a server of its own: any static host, or
# make web-serve on this machine, serves it as it is. SOURCE_DATE_EPOCH
# (default: the time of the last commit) is the time of every file in the
# zip, so the same input gives the same zip.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/packaging/qt-source.sh"

die() { echo "package-web: $*" >&2; exit 1; }

build= qt= version= out=
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --qt) qt=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) die "unknown argument $1" ;;
  esac
done
[ -n "$build" ] && [ -n "$qt" ] && [ -n "$version" ] && [ -n "$out" ] \
  || die "usage: package-web.sh --build <folder> --qt <Qt prefix> --version <x.yy> --out <folder>"
program=$build/app
[ -f "$program/rumida.wasm" ] && [ -f "$program/rumida.js" ] || die "no rumida.js and rumida.wasm in $program"
[ -f "$qt/plugins/platforms/qtloader.js" ] && grep -q '^configure ' "$qt/rumida-qt-build.txt" 2>/dev/null \
  || die "$qt is not a Qt that scripts/build-qt-wasm.sh made"
qt_source=$(find "$(dirname "$qt")/src" -maxdepth 1 -type d -name 'qt6-base-*' -print -quit 2>/dev/null || true)
[ -n "$qt_source" ] && [ -f "$qt_source/LICENSES/LGPL-3.0-only.txt" ] || die "no Qt source with its licences beside $qt"
dsc=$(find "$(dirname "$qt_source")" -maxdepth 1 -name 'qt6-base_*.dsc' -print -quit)
[ -n "$dsc" ] || die "no Debian source description (qt6-base_*.dsc) beside $qt_source"
font=$build/web/font/rumida-gothic.ttf
[ -f "$font" ] || die "no $font (the build makes it)"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || die "set SOURCE_DATE_EPOCH (no git history to take the time from)"

rm -rf "$out"
mkdir -p "$out/licenses"
out=$(cd "$out" && pwd)

# The page, with the version and the program's size written in.
wasm_bytes=$(stat -c %s "$program/rumida.wasm")
sed -e "s/@VERSION@/$version/g" -e "s/@WASM_BYTES@/$wasm_bytes/g" "$here/web/index.html" >"$out/index.html"
cp "$here/web/page.js" "$here/web/page-input.js" "$out/"
cp "$program/rumida.js" "$program/rumida.wasm" "$out/"
cp "$qt/plugins/platforms/qtloader.js" "$out/"
cp "$here/resources/pictures/rumida.ico" "$here/resources/pictures/rumida-32.png" "$out/"
# What a browser installs the page as an app with: its manifest and icons.
cp "$here/web/manifest.webmanifest" "$out/"
for icon in rumida-192.png rumida-512.png rumida-maskable-512.png; do
  cp "$here/resources/pictures/$icon" "$out/"
done

# The licences: the game's, Qt's (linked in statically), the font's, and
# emscripten's (its runtime in rumida.js, its C and C++ libraries in rumida.wasm).
cp "$here/LICENSE" "$out/licenses/LICENSE.txt"
cp "$qt_source/LICENSES/LGPL-3.0-only.txt" "$out/licenses/LGPL-3.0.txt"
cp "$qt_source/LICENSES/GPL-3.0-only.txt" "$out/licenses/GPL-3.0.txt"
/usr/bin/python3 "$here/packaging/windows/qt-notices.py" --web "$qt_source" "$out/licenses/Qt-third-party.txt"
cp /usr/share/doc/emscripten/copyright "$out/licenses/emscripten.txt"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$out/licenses/IPA-Font-License.txt"
# The IPA Font License asks that a derived font go out with the font itself
# and the means to put the original in its place.
cp "$font" "$out/licenses/rumida-gothic.ttf"
qt_version=$(sed -n 's/^Version: \([0-9.]*\).*/\1/p' "$dsc")
{
  cat <<EOF
Qt in Rumida's web page
=======================

Rumida uses Qt $qt_version (Qt Core, Qt GUI, Qt Widgets and the WebAssembly
platform plugin) under the GNU Lesser General Public License version 3
(LGPL-3.0.txt, which builds on the GNU General Public License version 3,
GPL-3.0.txt). Qt is Copyright (C) The Qt Company Ltd. and other
contributors. The code of others built into Qt is listed, with its
licences, in Qt-third-party.txt. qtloader.js is Qt's own loader, under the
same licence.

EOF
  qt_source_section "The Qt libraries linked into rumida.wasm were" "$dsc" "$qt"
  cat <<EOF

with Debian 12's emscripten $(dpkg-query -W -f='${Version}' emscripten). Rumida's own source
holds the script that ran that build (scripts/build-qt-wasm.sh).

Replacing Qt
------------

A web page loads one program, so Qt is linked into rumida.wasm. Rumida's
source is free software (MIT, LICENSE.txt), and it is what replacing Qt
takes: build your Qt $qt_version for WebAssembly from this source, changed as
you like, with the same emscripten and configure options (options that only
leave out features Rumida does not use are fine; the script also has QHash
included first into Qt Widgets' sources, which Qt 6.4 needs without its item
views), and build Rumida's source
against it with its own CMake (make web shows how). The rumida.wasm that
comes out runs in this page in place of this one.
EOF
} >"$out/licenses/Qt-source.txt"
cat >"$out/licenses/Rumida-Gothic.txt" <<EOF
The Japanese font of Rumida's web page
======================================

The game's windows in the web page draw their Japanese text with "Rumida
Gothic", compiled into rumida.wasm. It is a Derived Program of the IPA
P Gothic font (IPAPGothic, ipagp.ttf, IPA Font version $(dpkg-query -W -f='${Version}' fonts-ipafont-gothic | sed 's/-.*//') as Debian's
fonts-ipafont-gothic package carries it), under the IPA Font License
Agreement v1.0 (IPA-Font-License.txt), which names it after Rumida as the
agreement asks of a derived font.

What was changed: the font holds only the characters Rumida draws and a
player may type (ASCII, Latin-1, the full-width forms, Japanese punctuation,
kana, and the kanji of JIS X 0208's first level), its hinting is left out,
and its names are Rumida Gothic. rumida-gothic.ttf in this folder is the
font as rumida.wasm carries it.

Putting the original font in its place: build Rumida's source with

    make web RUMIDA_WEB_FONT=/path/to/ipagp.ttf

and web/font/subset-font.py, which makes the font, then takes its
characters from that file; to carry the original font whole, change the
script to keep every character. The IPA fonts are available from
https://moji.or.jp/ipafont/ and in Debian's fonts-ipafont-gothic package.
EOF
cat >"$out/licenses/index.html" <<EOF
<!DOCTYPE html>
<html lang="ja">
<head><meta charset="utf-8"><title>ルミダ: ライセンス</title></head>
<body>
<h1>ルミダ $version のライセンス</h1>
<ul>
<li><a href="LICENSE.txt">ルミダ</a>: MIT License</li>
<li><a href="Qt-source.txt">Qt</a>: GNU LGPL version 3 (<a href="LGPL-3.0.txt">LGPL-3.0</a>, <a href="GPL-3.0.txt">GPL-3.0</a>)、
    Qt に含まれる他者のコード: <a href="Qt-third-party.txt">Qt-third-party.txt</a></li>
<li><a href="Rumida-Gothic.txt">Rumida Gothic</a> (IPA P ゴシックの派生フォント、<a href="rumida-gothic.ttf">フォント</a>):
    <a href="IPA-Font-License.txt">IPA Font License Agreement v1.0</a></li>
<li><a href="emscripten.txt">Emscripten</a> のランタイムとライブラリ: MIT / University of Illinois/NCSA Open Source License ほか</li>
</ul>
<p><a href="../index.html">ルミダに戻る</a></p>
</body>
</html>
EOF

# Pre-compressed copies for hosts that serve them (and for the service
# worker where a host does not): no names or times inside.
compress() {
  gzip -9 -n -c "$out/$1" >"$out/$1.gz"
  if command -v brotli >/dev/null 2>&1; then
    brotli -q 11 -c "$out/$1" >"$out/$1.br"
  fi
}
for f in index.html page.js page-input.js qtloader.js rumida.js rumida.wasm manifest.webmanifest; do
  compress "$f"
done
# The service worker that keeps the game for offline play, with the list of
# every file above (and their compressed copies) written in.
/usr/bin/python3 "$here/packaging/web/offline.py" "$out" "$version" >/dev/null
compress service-worker.js

# Same bits, same times, same order: the same zip from the same input.
zip_file=$(dirname "$out")/rumida-$version-web.zip
find "$out" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$out" -exec env TZ=UTC touch -h -d "@$epoch" {} +
rm -f "$zip_file"
top=rumida-$version-web
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -a "$out" "$tmp/$top"
(cd "$tmp" && find "$top" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 -@ "$zip_file")
echo "$zip_file"
