#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Runs every fuzz target for a while, each on a scratch copy of its kept corpus.
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)

# The targets, as fuzz/CMakeLists.txt lists them, one a line.
list=$build/fuzz_targets.txt
if [ ! -s "$list" ]; then
  echo "error: $list is missing: configure $build from fuzz/ first" >&2
  exit 2
fi
mapfile -t targets <"$list"

status=0
for target in "${targets[@]}"; do
  work=$build/work/$target
  mkdir -p "$work/corpus" "$work/artifacts"
  log=$build/work/$target.log
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/artifacts/")
  [ -f "$here/$target.dict" ] && options+=(-dict="$here/$target.dict")
  echo "fuzz_$target: $seconds s"
  # New inputs go to the scratch corpus (the first directory), never into the kept one.
  if "$build/fuzz_$target" "${options[@]}" "$work/corpus" "$here/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "  ${runs:-?} inputs run, no fault (log $log, new inputs in $work/corpus)"
  else
    echo "  FAULT (log $log, input in $work/artifacts/):"
    grep -E 'property failed|ERROR|runtime error|SUMMARY' "$log" | head -20 || true
    status=1
  fi
done
exit $status
