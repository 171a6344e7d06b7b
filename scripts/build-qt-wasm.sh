#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Builds Qt for WebAssembly once, from Debian's own qt6-base source, with
# Debian's emscripten, into a cache outside the clone; later runs find it there.
#
# Usage: build-qt-wasm.sh [--print-prefix | --check]
#   (none)           build it if the cache lacks it, then print its prefix
#   --print-prefix   print where it is (or would be) and do nothing else
#   --check          exit 0 when the cached Qt is there, 1 when it is not
#
# Static, as Qt for WebAssembly only comes: the page loads one .wasm.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/qt-cache.sh"

# What the game does not use is left out, as for Windows; a page has one
# thread, so no thread support. Asyncify lets a handler wait in the middle
# (the race's frames, the message boxes' answers) while the browser goes on:
# without it every such wait would have to become a callback, and the game's
# handlers would differ between the browser and the desktop.
configure_args=(
  -release -static -optimize-size
  -xplatform wasm-emscripten -qt-host-path /usr
  -nomake examples -nomake tests
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-printsupport
  -no-feature-concurrent -no-feature-thread -no-feature-testlib -no-feature-dbus
  -device-option QT_EMSCRIPTEN_ASYNCIFY=1
)
# The key takes emscripten's version, so a build asked for installs it first;
# without it, --check answers that no Qt is there.
[ $# -gt 0 ] || bash "$here/scripts/install-deps.sh" web >&2
emscripten_version=$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || echo none)
key=$(qt_key "${configure_args[@]}" "$emscripten_version")
prefix="$qt_cache/qt-$qt_version-wasm-$key"
qt_handle_args "$prefix" "${1:-}"

. "$here/scripts/wasm-env.sh"
qt_build WebAssembly "$prefix" "$key" 10 "${configure_args[@]}" -- \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
