#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs a test program on a desktop of its own: a private Xvfb server on a free
# display, managed by openbox, with Qt on its xcb platform. Everything started
# here is stopped again however the run ends.
# Usage: run-x11.sh <test program> [its arguments]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1
shift

for tool in Xvfb openbox xdotool xprop; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "run-x11: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/rumida-x11.XXXXXX")
xvfb_pid=
openbox_pid=
cleanup() {
  local status=$?
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
  echo "run-x11: $*" >&2
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
  done
  exit 1
}

# Waits up to 20 s (the machine may be busy) for a command to succeed.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

# Xvfb picks a free display itself and writes its number to the file.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset \
  3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_written() {
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  grep -q '^[0-9]' "$work/display"
}
wait_for "Xvfb to choose a display" display_written
export DISPLAY=":$(head -n1 "$work/display")"

# A home and configuration of their own, so that nothing of the user's
# settings (openbox, Qt, fontconfig's user files) takes part.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE DESKTOP_SESSION \
  QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR SESSION_MANAGER

openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wm_running() {
  kill -0 "$openbox_pid" 2>/dev/null || fail "openbox did not start"
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_for "openbox to manage the screen" wm_running

# In the sanitizer build: reports from the X libraries' own faults are
# suppressed there (each one explained in the file); ignored elsewhere.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}suppressions=$here/asan.supp"

# The widgets paint through the X server's shared memory, not OpenGL: no GL
# library is loaded, as none takes part in what the tests look at.
status=0
QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none "$program" "$@" || status=$?
if [ "$status" -ne 0 ]; then
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
  done
fi
exit "$status"
