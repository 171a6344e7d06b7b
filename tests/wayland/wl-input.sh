#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Real input on sway, in the words the desktop tests speak to xdotool, so the
# walks of tests/x11 run unchanged on a Wayland session: keys through wtype
# (a virtual keyboard), the pointer through sway's own seat commands, and the
# window commands through sway's IPC. A window is named by its sway
# container id, points by the layout's own coordinates. Steps run in order;
# the first that fails ends the run with its status.
#   mousemove [--sync] X Y     the pointer to X Y (sway moves it at once)
#   click N                    button N pressed and released (4 and 5: a
#                              notch of the wheel up or down)
#   key KEY...                 each key tapped: a keysym name, a lone
#                              modifier (alt, shift, ctrl) or a chord (alt+Tab)
#   type [--delay MS] TEXT     the text typed one key at a time
#   sleep SECONDS
#   windowmove ID X Y          the floating window moved there
#   windowclose ID             a close request, as a title bar's close button
#                              sends one
# Usage: wl-input.sh STEP [STEP...]   (SWAYSOCK and WAYLAND_DISPLAY set)
set -euo pipefail

commands=" mousemove click key type sleep windowmove windowclose "
is_command() { [[ $commands == *" $1 "* ]]; }

sway_command() { swaymsg -q -- "$*"; }

# wtype's arguments for one key as xdotool names it.
key_args() {
  local key=$1
  local -a mods=()
  while [[ $key == *+* ]]; do
    mods+=("${key%%+*}")
    key=${key#*+}
  done
  case ${key,,} in
    alt) key=alt_l ;;
    shift) key=shift_l ;;
    ctrl | control) key=control_l ;;
  esac
  local -a args=()
  local mod
  for mod in "${mods[@]}"; do args+=(-M "${mod,,}"); done
  case $key in
    # A lone modifier is pressed and released as a key of its own.
    alt_l | shift_l | control_l) args+=(-P "$key" -p "$key") ;;
    *) args+=(-k "$key") ;;
  esac
  for mod in "${mods[@]}"; do args+=(-m "${mod,,}"); done
  printf '%s\n' "${args[@]}"
}

while [ $# -gt 0 ]; do
  step=$1
  shift
  case $step in
    mousemove)
      [ "${1:-}" = --sync ] && shift
      sway_command seat - cursor set "$1" "$2"
      shift 2 ;;
    click)
      sway_command "seat - cursor press button$1, seat - cursor release button$1"
      shift ;;
    key)
      args=()
      while [ $# -gt 0 ] && ! is_command "$1"; do
        mapfile -t -O "${#args[@]}" args < <(key_args "$1")
        shift
      done
      wtype "${args[@]}" ;;
    type)
      delay=0
      if [ "${1:-}" = --delay ]; then
        delay=$2
        shift 2
      fi
      wtype -d "$delay" "$1"
      shift ;;
    sleep)
      sleep "$1"
      shift ;;
    windowmove)
      sway_command "[con_id=$1] move position $2 $3"
      shift 3 ;;
    windowclose)
      sway_command "[con_id=$1] kill"
      shift ;;
    *)
      echo "wl-input: no such step: $step" >&2
      exit 2 ;;
  esac
done
