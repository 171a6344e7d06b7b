#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs the page's random play (play.mjs) against the page of a web build
# folder, with the play build of the program (tests/web/rumida_web_play) in
# the place of the game's. What a failure leaves (a screenshot of the page)
# goes to <web build folder>/play.
# Usage: run-play.sh <web build folder>
#   RUMIDA_SEED, RUMIDA_ACTIONS, RUMIDA_SOAK_SECONDS, RUMIDA_SOAK_MARGIN_MIB and
#   RUMIDA_DEVICES are play.mjs's.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build=$(cd "${1:?usage: run-play.sh <web build folder>}" && pwd)
bash "$here/tests/web/npm-ci.sh"
bash "$here/tests/web/test-page.sh" "$build" rumida_web_play "$build/play-page"
exec node "$here/tests/web/play.mjs" "$build/play-page" "$build/play"
