#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Starts the game, or says how to get a display when there is none.
set -eu
exe="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
There is no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run it from a desktop session, or start a virtual X server first, for example:
    sudo apt-get install xvfb && xvfb-run -s '-screen 0 1280x1024x24' make play
MSG
  exit 2
fi
exec "$exe"
