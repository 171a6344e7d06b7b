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
# The cache folder is keyed by the Qt version and a hash of the configure line
# below, so a changed line builds a new Qt beside the old one instead of
# reusing a Qt configured differently. RUMIDA_CACHE moves the cache
# (default ~/.cache/rumida).
#
# Shared Qt, not static: the test programs under Wine are small and link in
# seconds against the DLLs, and a player may replace the Qt DLLs in the zip
# with another build of the same Qt, as the LGPL wants, without relinking.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

qt_version=6.4.2
cache="${RUMIDA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/rumida}"

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
key=$(printf '%s\n' "$qt_version" "${configure_args[@]}" "$(cat "$here/cmake/mingw-w64-x86_64.cmake")" \
      | sha256sum | cut -c1-12)
prefix="$cache/qt-$qt_version-mingw64-$key"

case "${1:-}" in
  --print-prefix) echo "$prefix"; exit 0 ;;
  --check) [ -f "$prefix/.complete" ]; exit $? ;;
  "") ;;
  *) echo "usage: $0 [--print-prefix|--check]" >&2; exit 2 ;;
esac

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

bash "$here/scripts/install-deps.sh" windows

work="$cache/work-$key"
mkdir -p "$work"
log="$work/build.log"
echo "Building Qt $qt_version for Windows into $prefix (about half an hour on 2 cores; log: $log)" >&2
start=$(date +%s)

# Debian's source package, fetched once. apt-get source wants a deb-src entry
# for the archive the machine installs from; install-deps.sh adds it.
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
if [ -z "$src" ] || [ ! -f "$src/configure" ]; then
  rm -rf "$work/qt6-base"* "$work"/*.dsc "$work"/*.tar.* 2>/dev/null || true
  # The very source version of the host Qt the cross build takes its tools from.
  host_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
  case "$host_version" in
    "$qt_version"*) ;;
    *) echo "error: the host Qt is $host_version, not $qt_version" >&2; exit 1 ;;
  esac
  (cd "$work" && apt-get source --only-source -qq "qt6-base=$host_version" >>"$log" 2>&1)
  src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
fi
[ -n "$src" ] && [ -f "$src/configure" ] || { echo "error: no qt6-base $qt_version source (see $log)" >&2; exit 1; }

build="$work/build"
rm -rf "$build"
mkdir -p "$build"
(
  cd "$build"
  "$src/configure" -prefix "$prefix" "${configure_args[@]}" -- \
    -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  cmake --build . --parallel "$(nproc)"
  cmake --install .
) >>"$log" 2>&1 || { echo "error: the Qt for Windows build failed; the end of $log:" >&2; tail -n 40 "$log" >&2; exit 1; }

# What the zip's licence file quotes: the source and the configure line.
{
  echo "qt6-base $(basename "$src")"
  echo "configure -prefix <prefix> ${configure_args[*]}"
} >"$prefix/rumida-qt-build.txt"
touch "$prefix/.complete"
rm -rf "$build"
echo "Qt for Windows built in $(( $(date +%s) - start )) s" >&2
echo "$prefix"
