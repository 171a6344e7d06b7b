#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs one Windows program of the build under Wine: CTest's emulator for the
# cross build (CMAKE_CROSSCOMPILING_EMULATOR). The Wine session (an X server,
# the prefix, its wineserver) is the one wine-session.sh opened around CTest.
# Usage: wine-run.sh [--path <folder>]... <program.exe> [its arguments]
#   --path  a folder Windows searches for the program's DLLs (Qt's bin folder)
set -euo pipefail

dll_path=
while [ "${1:-}" = --path ]; do
  # Wine maps the Linux root to drive Z:.
  dll_path="${dll_path:+$dll_path;}Z:${2//\//\\}"
  shift 2
done
program=$1
shift

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no Wine session: run the tests through tests/wine/wine-session.sh" >&2
  exit 1
fi
export WINEPATH="$dll_path"
# Wine hands a Windows program no variable whose name starts with QT_: each
# goes as RUMIDA_WINE_QT_..., which the test programs' main gives back to Qt.
for name in $(compgen -e); do
  case "$name" in
    QT_*) export "RUMIDA_WINE_$name=${!name}" ;;
  esac
done
exec wine "$program" "$@"
