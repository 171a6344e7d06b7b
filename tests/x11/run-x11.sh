#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs a test program on a desktop of its own: a private Xvfb server on a free
# display, managed by openbox, and a D-Bus session bus, with Qt on its xcb
# platform. Everything started here is stopped again however the run ends.
# Usage: run-x11.sh [--deadline SECONDS] <test program> [its arguments]
#   --deadline  a program still running after SECONDS is stopped and fails
#               the run, after every thread's stack has been printed (gdb),
#               so that a hang says where it hangs. Keep it below the test's
#               own time limit, which gives no such account.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runner=run-x11
# shellcheck source=../support/session.sh
source "$here/../support/session.sh"
deadline=0
if [ "${1:-}" = --deadline ]; then
  deadline=$2
  shift 2
fi
program=$1
shift

for tool in Xvfb openbox xdotool xprop dbus-run-session; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "run-x11: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/rumida-x11.XXXXXX")
xvfb_pid=
openbox_pid=
program_pid=
watchdog_pid=
cleanup() {
  local status=$?
  [ -n "$watchdog_pid" ] && kill_tree "$watchdog_pid"
  [ -n "$program_pid" ] && kill_tree "$program_pid"
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

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
# library is loaded, as none takes part in what the tests look at. The
# program runs in a D-Bus session of its own, as on a desktop (the
# accessibility bus starts there on demand): without one, the D-Bus library
# would start a session bus for the X display through dbus-launch, a step
# that nothing here governs, taken as the program's first window shows.
QT_QPA_PLATFORM=xcb QT_XCB_GL_INTEGRATION=none dbus-run-session -- "$program" "$@" &
program_pid=$!
wait_for_program "$(basename "$program")" "$deadline"
[ "$status" -ne 0 ] && show_logs
exit "$status"
