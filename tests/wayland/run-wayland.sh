#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs a test program as a native Wayland client on a desktop of its own: a
# headless sway (the compositor and window manager), wayvnc for the seat's
# input devices, and a D-Bus session bus, with Qt on its wayland platform.
# sway refuses to run as root: as root, everything here runs as an
# unprivileged user made for it (rumida-wayland), from a copy of the program
# where that user cannot read it in place. Everything started here is
# stopped again however the run ends.
# Usage: run-wayland.sh [--deadline SECONDS] <test program> [its arguments]
#   --deadline  a program still running after SECONDS is stopped and fails
#               the run, after every thread's stack has been printed (gdb).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
runner=run-wayland
# shellcheck source=../support/session.sh
source "$here/../support/session.sh"
deadline=0
if [ "${1:-}" = --deadline ]; then
  deadline=$2
  shift 2
fi
program=$(realpath "$1")
shift

for tool in sway swaymsg wayvnc wtype jq dbus-run-session runuser; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "run-wayland: $tool is missing (scripts/install-deps.sh test installs it)" >&2
    exit 1
  fi
done
if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
  echo "run-wayland: Qt's wayland platform is missing: qt6-wayland (scripts/install-deps.sh test installs it)" >&2
  exit 1
fi

# Who runs the session: an unprivileged user when started as root.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=rumida-wayland
  # Another run may be making it at the same moment.
  if ! id "$user" >/dev/null 2>&1; then
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" 2>/dev/null ||
      id "$user" >/dev/null || { echo "run-wayland: cannot make the user $user" >&2; exit 1; }
  fi
  as_user=(runuser -u "$user" --)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/rumida-wayland.XXXXXX")
[ ${#as_user[@]} -gt 0 ] && chown "$user:" "$work"
chmod 755 "$work"
sway_pid=
vnc_pid=
program_pid=
watchdog_pid=
cleanup() {
  local status=$?
  [ -n "$watchdog_pid" ] && kill_tree "$watchdog_pid"
  [ -n "$program_pid" ] && kill_tree "$program_pid"
  [ -n "$vnc_pid" ] && kill_tree "$vnc_pid"
  [ -n "$sway_pid" ] && kill_tree "$sway_pid"
  wait 2>/dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

# The user runs the program where it can read it, or else a copy in the
# session's folder (a clone under a folder only root may enter).
if ! "${as_user[@]}" test -r "$program" -a -x "$program"; then
  cp "$program" "$work/$(basename "$program")"
  program="$work/$(basename "$program")"
  chmod 755 "$program"
fi
# The input steps' program and the sanitizers' suppression files likewise.
cp "$here/wl-input.sh" "$here/next-window.sh" "$work/"
cat "$here/../x11/asan.supp" >"$work/asan.supp"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}suppressions=$work/asan.supp"
# Qt's Wayland platform's own leaks are added to the suppressions make test
# gives LeakSanitizer.
if [[ ${LSAN_OPTIONS:-} =~ (^|:)suppressions=([^:]*) ]]; then
  cat "${BASH_REMATCH[2]}" "$here/lsan.supp" >"$work/lsan.supp"
  LSAN_OPTIONS=${LSAN_OPTIONS/suppressions=${BASH_REMATCH[2]}/suppressions=$work/lsan.supp}
else
  cp "$here/lsan.supp" "$work/lsan.supp"
  LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$work/lsan.supp"
fi
chmod a+r "$work"/*

runtime="$work/runtime"
"${as_user[@]}" mkdir -m 700 "$runtime" "$work/home" "$work/config"

# Windows float, as on a desktop with overlapping windows (sway places a new
# floating window in the middle of the output); focus follows clicks, not
# the pointer, and the pointer stays where it was put; Alt+Tab moves on to
# the next window. No XWayland: the program must not reach an X server.
cat >"$work/sway.conf" <<'CONF'
xwayland disable
output HEADLESS-1 resolution 1920x1080 position 0 0 scale 1
for_window [title=".*"] floating enable
focus_follows_mouse no
mouse_warping none
bindsym Mod1+Tab exec WORK/next-window.sh
CONF
sed -i "s|WORK/|$work/|" "$work/sway.conf"
chmod a+r "$work/sway.conf"

session_env=(env -i "PATH=$PATH" "HOME=$work/home" "XDG_CONFIG_HOME=$work/config"
             "XDG_RUNTIME_DIR=$runtime" "LANG=${LANG:-C.UTF-8}")
(cd "$work" && exec "${as_user[@]}" "${session_env[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1 sway --config "$work/sway.conf") >"$work/sway.log" 2>&1 &
sway_pid=$!
disown "$sway_pid" # stopped by cleanup, with no word from the shell
sway_ready() {
  kill -0 "$sway_pid" 2>/dev/null || fail "sway did not start"
  local socket display
  socket=$(compgen -G "$runtime/sway-ipc.*.sock" | head -n1) || return 1
  display=$(cd "$runtime" && compgen -G "wayland-[0-9]" | head -n1) || return 1
  SWAYSOCK=$socket WAYLAND_DISPLAY=$display
  "${as_user[@]}" env SWAYSOCK="$socket" swaymsg -t get_outputs >/dev/null 2>&1
}
wait_for "sway to show its output" sway_ready
session_env+=("WAYLAND_DISPLAY=$WAYLAND_DISPLAY" "SWAYSOCK=$SWAYSOCK")

# wayvnc's virtual keyboard and pointer stay on the seat for the whole run:
# without a keyboard there, each wtype would add and take away the seat's
# only keyboard, which takes the keyboard focus from the window.
(cd "$work" && exec "${as_user[@]}" "${session_env[@]}" wayvnc --unix-socket "$runtime/vnc.sock") \
  >"$work/wayvnc.log" 2>&1 &
vnc_pid=$!
disown "$vnc_pid"
seat_ready() {
  kill -0 "$vnc_pid" 2>/dev/null || fail "wayvnc did not start"
  local inputs
  inputs=$("${as_user[@]}" "${session_env[@]}" swaymsg -t get_inputs 2>/dev/null) || return 1
  grep -q '"type": "pointer"' <<<"$inputs" && grep -q '"type": "keyboard"' <<<"$inputs"
}
wait_for "wayvnc to give the seat its keyboard and pointer" seat_ready

# Qt on its wayland platform in this test's environment only; the widgets
# paint into shared memory with no OpenGL, as on X11: no client buffer
# integration is loaded (Qt says so in one line), so no GL library either.
(cd "$work" && exec "${as_user[@]}" "${session_env[@]}" QT_QPA_PLATFORM=wayland \
  QT_WAYLAND_SHELL_INTEGRATION=xdg-shell QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=none \
  RUMIDA_WAYLAND_INPUT="$work/wl-input.sh" \
  ${ASAN_OPTIONS:+"ASAN_OPTIONS=$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+"UBSAN_OPTIONS=$UBSAN_OPTIONS"} \
  ${LSAN_OPTIONS:+"LSAN_OPTIONS=$LSAN_OPTIONS"} \
  dbus-run-session -- "$program" "$@") &
program_pid=$!
wait_for_program "$(basename "$program")" "$deadline"
[ "$status" -ne 0 ] && show_logs
exit "$status"
