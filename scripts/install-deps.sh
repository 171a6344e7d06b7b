#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Installs the Debian packages one make target needs and this machine lacks.
# Usage: install-deps.sh play|test|art|fuzz|package|release|windows|web
#   play     what building and running the game needs (make play)
#   test     that, and the tools the tests run (make test)
#   art      the picture generator (make art)
#   fuzz     that of play, and clang with libFuzzer (make fuzz)
#   package  that of play, and the Debian package tools and checker (make bench, make package)
#   release  that of package, git and diffoscope (make release, make release-check)
#   windows  that of test, the MinGW-w64 cross compilers, Debian's Qt source,
#            Wine and the Windows packaging tools (make windows)
#   web      that of play, emscripten, Debian's Qt source, the font subsetter,
#            the compressors, node and Chromium for the browser tests (make web)
set -euo pipefail

# libxcb1-dev (which qt6-base-dev pulls in anyway): the windows' taskbar state on X11.
play=(cmake ninja-build g++ qt6-base-dev libxcb1-dev fonts-ipafont-gothic)
# GoogleTest; windres for the Windows resource script; the desktop-entry,
# AppStream and REUSE checkers; Xvfb, openbox, xdotool, xprop (x11-utils), the
# XTEST client library (the desktop random player's input) and a D-Bus session
# bus for the desktop tests; the accessibility bus and its
# Python client for the screen-reader test; Qt's Wayland platform, sway (run
# headless), wayvnc (the seat's keyboard and pointer), wtype, jq (Alt+Tab on
# sway) and grim for the Wayland desktop tests; diffoscope, which shows how two
# builds that should be the same bytes differ.
test_tools=(libgtest-dev binutils-mingw-w64-x86-64 desktop-file-utils appstream reuse
            xvfb openbox xdotool x11-utils libxcb-xtest0-dev python3-pyatspi at-spi2-core dbus
            qt6-wayland sway wayvnc wtype jq grim diffoscope-minimal)

# The posix-thread MinGW-w64 compilers (the win32 thread model has no
# std::thread); dpkg-dev for apt-get source; Wine 8 to run the build on Xvfb,
# and locales for the Japanese settings the Wine tests compile; zip and NSIS
# for what a player downloads; icoutils (wrestool) to check the exe's resources.
windows_tools=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
               mingw-w64-x86-64-dev dpkg-dev qt6-base-dev-tools perl
               wine wine64 zip unzip nsis icoutils locales)

# Debian's emscripten; dpkg-dev for apt-get source; the Qt host tools; the
# font subsetter (fonttools) for the page's Japanese font; gzip, brotli and zip
# for the page's files; node and npm for the browser driver (puppeteer-core)
# and the Qt-free tests; Chromium to play the page in. Debian's npm only
# where no npm is on the machine: a node from elsewhere brings its own, which
# Debian's would conflict with.
web_tools=(emscripten dpkg-dev qt6-base-dev-tools fonttools brotli zip unzip
           nodejs chromium)
command -v npm >/dev/null 2>&1 || web_tools+=(npm)

case "${1:-}" in
  play) packages=("${play[@]}") ;;
  test) packages=("${play[@]}" "${test_tools[@]}") ;;
  art) packages=(python3 python3-pil python3-numpy) ;;
  fuzz) packages=("${play[@]}" clang libclang-rt-14-dev) ;;
  package) packages=("${play[@]}" dpkg-dev file lintian) ;;
  release) packages=("${play[@]}" dpkg-dev file lintian git diffoscope-minimal) ;;
  windows) packages=("${play[@]}" "${test_tools[@]}" "${windows_tools[@]}") ;;
  web) packages=("${play[@]}" "${web_tools[@]}") ;;
  *)
    echo "usage: $0 play|test|art|fuzz|package|release|windows|web" >&2
    exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# apt-get source (the Qt for Windows and WebAssembly builds) needs a deb-src entry for the
# archive the machine installs from: one is added beside the deb entries,
# for the same archive, suites and key.
need_sources=0
if { [ "$1" = windows ] || [ "$1" = web ]; } && ! apt-get indextargets --format '$(IDENTIFIER)' 2>/dev/null | grep -qx Sources; then
  need_sources=1
fi
[ ${#missing[@]} -eq 0 ] && [ $need_sources -eq 0 ] && exit 0

[ ${#missing[@]} -gt 0 ] && echo "Installing missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: need root or sudo to run apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ $need_sources -eq 1 ]; then
  echo "Adding a deb-src entry for Debian's archive (apt-get source qt6-base)"
  deb_sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$deb_sources" ]; then
    sed -n 's/^Types: deb$/Types: deb-src/; p' "$deb_sources" \
      | "${sudo[@]}" tee /etc/apt/sources.list.d/rumida-deb-src.sources >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
      | grep -v -- '-security' | sed 's/^deb /deb-src /' \
      | "${sudo[@]}" tee /etc/apt/sources.list.d/rumida-deb-src.list >/dev/null
  fi
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
