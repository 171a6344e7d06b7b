#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Builds Qt for 64-bit Windows once, from Debian's own qt6-base source, with
# Debian's MinGW-w64, into a cache outside the clone; later runs find it there.
#
# Usage: build-qt-windows.sh [--print-prefix | --check]
#   (none)           build it if the cache lacks it, then print its prefix
#   --print-prefix   print where it is (or would be) and do nothing else
#   --check          exit 0 when the cached Qt is there, 1 when it is not
#
# Shared Qt, not static: the test programs under Wine are small and link in
# seconds against the DLLs, and a player may replace the Qt DLLs in the zip
# with another build of the same Qt, as the LGPL wants, without relinking.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/qt-cache.sh"

# What the game does not use is left out (network, SQL, XML, printing,
# QtConcurrent, OpenGL, D-Bus, ICU); Qt's own copies of the image and font
# libraries are built in, so the DLLs need nothing from outside Qt. Direct2D
# is left out with DirectWrite 3: Qt 6.4 builds the DirectWrite font database
# only together with Direct2D, while the Windows plugin, which uses the GDI
# font database by default, would still refer to it. Debian's source drops
# the tablet header (src/3rdparty/wintab), hence no tablet events.
configure_args=(
  -release -shared -optimize-size
  -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests
  -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype -qt-doubleconversion
  -no-opengl -no-dbus -no-icu -no-pkg-config
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-printsupport
  -no-feature-concurrent -no-feature-direct2d -no-feature-directwrite3
  -no-feature-tabletevent
)
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
key=$(qt_key "${configure_args[@]}" "$(cat "$toolchain")")
prefix="$qt_cache/qt-$qt_version-mingw64-$key"
qt_handle_args "$prefix" "${1:-}"

bash "$here/scripts/install-deps.sh" windows
qt_build Windows "$prefix" "$key" 45 "${configure_args[@]}" -- \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
