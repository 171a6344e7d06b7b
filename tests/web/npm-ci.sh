#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Installs the browser tests' driver into tests/web/node_modules: puppeteer-core
# at the version package-lock.json names, with no browser of its own (the
# tests drive Debian's Chromium). Does nothing when it is there already.
set -euo pipefail
cd "$(dirname "$0")"
if [ node_modules/.package-lock.json -nt package-lock.json ]; then
  exit 0
fi
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >/dev/null
