#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs a command in a Wine session on a desktop of its own: the X server,
# window manager and D-Bus session of run-x11.sh, a Wine prefix made offline
# with a Japanese font, and one wineserver that every Windows program of the
# command shares, stopped again at the end.
# Usage: wine-session.sh [--deadline SECONDS] --prefix <folder> <command> [its arguments]
#   --prefix  the Wine prefix; made on first use and kept (making one takes
#             about 15 s), remade when this script's set-up changes
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

x11_args=()
if [ "${1:-}" = --deadline ]; then
  x11_args=(--deadline "$2")
  shift 2
fi
if [ "${1:-}" != --prefix ] || [ $# -lt 3 ]; then
  echo "usage: $0 [--deadline SECONDS] --prefix <folder> <command> [its arguments]" >&2
  exit 2
fi
mkdir -p "$2"
prefix=$(cd "$2" && pwd)
shift 2

for tool in wine wineserver localedef; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "wine-session: $tool is missing (scripts/install-deps.sh windows installs it)" >&2
    exit 1
  fi
done

exec "$here/../x11/run-x11.sh" "${x11_args[@]}" "$here/wine-prefix.sh" "$prefix" "$@"
