#!/usr/bin/env bash
# Installs the Debian packages the build needs and this machine lacks.
# Usage: install-deps.sh [art|fuzz|package]   (a mode installs only what that make target adds)
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libxcb1-dev libgtest-dev fonts-ipafont-gothic binutils-mingw-w64-x86-64 desktop-file-utils
          xvfb openbox xdotool x11-utils  # the desktop tests (tests/x11)
          python3-pyatspi at-spi2-core dbus) # the screen reader tests (tests/atspi)
case "${1:-}" in
  art) packages=(python3 python3-pil python3-numpy) ;;
  fuzz) packages=(clang libclang-rt-14-dev) ;;
  package) packages=(dpkg-dev file) ;;
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
