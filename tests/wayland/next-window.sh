#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Alt+Tab for the tests' sway, which has no such binding of its own (and
# whose focus next/prev does not go from one floating window to another):
# the activation moves on from the focused window to the next, in the order
# sway keeps the floating windows, round to the first.
set -euo pipefail
tree=$(swaymsg -r -t get_tree)
mapfile -t ids < <(jq -r '.. | objects | select(.type? == "floating_con") | .id' <<<"$tree")
focused=$(jq -r '.. | objects | select(.type? == "floating_con" and .focused == true) | .id' <<<"$tree")
[ ${#ids[@]} -gt 1 ] || exit 0
next=${ids[0]}
for i in "${!ids[@]}"; do
  if [ "${ids[$i]}" = "$focused" ]; then
    next=${ids[$(((i + 1) % ${#ids[@]}))]}
  fi
done
swaymsg -q "[con_id=$next] focus"
