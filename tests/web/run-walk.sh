#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs the browser walk (walk.mjs) against the page of a web build folder:
# the page folder make web made (dist/), with the test build of the program
# (tests/web/rumida_web_test) in the place of the game's, in a folder of its
# own; once on each device (tests/web/drivers.mjs), or on those named.
# Usage: run-walk.sh <web build folder> [device...]
# Screenshots of every window go to <web build folder>/screenshots (a phone's
# and a tablet's to phone/ and tablet/ in it).
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build=$(cd "${1:?usage: run-walk.sh <web build folder>}" && pwd)
bash "$here/tests/web/npm-ci.sh"

page=$build/test-page
bash "$here/tests/web/test-page.sh" "$build" rumida_web_test "$page"

shift
devices=("$@")
[ ${#devices[@]} -gt 0 ] || devices=(desktop phone-portrait phone-landscape tablet-portrait tablet-landscape)

# Two devices at a time, each in a browser of its own: the page mostly waits
# for the browser's frames, which take a core each. Each walk's output is
# shown whole when it ends.
walk() {
  node "$here/tests/web/walk.mjs" "$page" "$build/screenshots" "$1" >"$build/walk-$1.log" 2>&1
  local status=$?
  cat "$build/walk-$1.log"
  return $status
}
export -f walk
export here page build
printf '%s\n' "${devices[@]}" | xargs -P "${RUMIDA_WALK_JOBS:-2}" -I{} bash -c 'walk "$1"' _ {}
