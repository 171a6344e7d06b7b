#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Installs the Debian packages one make target needs and this machine lacks.
# Usage: install-deps.sh play|test|art|fuzz|package
#   play     what building and running the game needs (make play)
#   test     that, and the tools the tests run (make test)
#   art      the picture generator (make art)
#   fuzz     that of play, and clang with libFuzzer (make fuzz)
#   package  that of play, and the Debian package tools and checker (make bench, make package)
set -euo pipefail

# libxcb1-dev (which qt6-base-dev pulls in anyway): the windows' taskbar state on X11.
play=(cmake ninja-build g++ qt6-base-dev libxcb1-dev fonts-ipafont-gothic)
# GoogleTest; windres for the Windows resource script; the desktop-entry,
# AppStream and REUSE checkers; Xvfb, openbox, xdotool, xprop (x11-utils) and
# a D-Bus session bus for the desktop tests; the accessibility bus and its
# Python client for the screen-reader test.
test_tools=(libgtest-dev binutils-mingw-w64-x86-64 desktop-file-utils appstream reuse
            xvfb openbox xdotool x11-utils python3-pyatspi at-spi2-core dbus)

case "${1:-}" in
  play) packages=("${play[@]}") ;;
  test) packages=("${play[@]}" "${test_tools[@]}") ;;
  art) packages=(python3 python3-pil python3-numpy) ;;
  fuzz) packages=("${play[@]}" clang libclang-rt-14-dev) ;;
  package) packages=("${play[@]}" dpkg-dev file lintian) ;;
  *)
    echo "usage: $0 play|test|art|fuzz|package" >&2
    exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "error: need root or sudo to run apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
