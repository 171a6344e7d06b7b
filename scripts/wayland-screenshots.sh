#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Screenshots of every window of the game as a native Wayland client, for
# docs/wayland/: under sway, which frames the windows itself (each window cut
# out with its frame, grim), and under weston, which leaves the frame to the
# client, so that Qt draws its own (the whole output, weston-screenshooter).
# The snapshot tool shows the windows one by one and holds each until its
# picture is taken; the quit confirmation comes last.
# Usage: wayland-screenshots.sh <rumida_snapshot> <folder>
# Needs what make test installs, and weston.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Inside the sway session of run-wayland.sh: each window the tool names is
# the focused one; its frame is cut out of the screen.
if [ "${1:-}" = --sway-session ]; then
  snapshot=$2 out=$3
  coproc tool { "$snapshot" "$out/offscreen" wayland --hold; }
  tool_pid=$tool_PID
  while read -r name <&"${tool[0]}"; do
    geometry=$(swaymsg -r -t get_tree | jq -r '.. | objects | select(.type? == "floating_con" and .focused == true)
      | (if .deco_rect.height > 0 then .deco_rect.y else .rect.y end) as $top
      | "\(.rect.x),\($top) \(.rect.width)x\(.rect.y + .rect.height - $top)"')
    grim -g "$geometry" "$out/sway-$name.png"
    echo >&"${tool[1]}"
  done
  wait "$tool_pid"
  exit
fi

snapshot=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
for tool in weston weston-screenshooter grim jq; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
shots=$(mktemp -d "${TMPDIR:-/tmp}/rumida-shots.XXXXXX")
chmod 777 "$shots"
trap 'rm -rf "$shots"' EXIT

"$here/../tests/wayland/run-wayland.sh" --deadline 120 "$here/wayland-screenshots.sh" --sway-session "$snapshot" "$shots"

# weston, headless, as the same unprivileged user as the tests' sway.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(runuser -u rumida-wayland --)
runtime="$shots/runtime"
"${as_user[@]}" mkdir -m 700 "$runtime"
(cd "$shots" && exec "${as_user[@]}" env -i PATH="$PATH" HOME="$shots" XDG_RUNTIME_DIR="$runtime" \
  weston --backend=headless-backend.so --use-pixman --width=800 --height=600 --socket=wayland-1 \
  --idle-time=0 --debug) >"$shots/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$runtime/wayland-1" ] && break; sleep 0.1; done
coproc tool { cd "$shots" && exec "${as_user[@]}" env -i PATH="$PATH" HOME="$shots" XDG_RUNTIME_DIR="$runtime" \
  WAYLAND_DISPLAY=wayland-1 LANG=C.UTF-8 "$snapshot" "$shots/offscreen" wayland --hold; }
tool_pid=$tool_PID
while read -r name <&"${tool[0]}"; do
  rm -f "$shots"/wayland-screenshot-*.png
  (cd "$shots" && "${as_user[@]}" env -i PATH="$PATH" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-1 \
    weston-screenshooter)
  mv "$shots"/wayland-screenshot-*.png "$shots/weston-$name.png"
  echo >&"${tool[1]}"
done
wait "$tool_pid" || true
kill "$weston_pid" 2>/dev/null || true
wait "$weston_pid" 2>/dev/null || true
cp "$shots"/sway-*.png "$shots"/weston-*.png "$out/"
ls "$out"
