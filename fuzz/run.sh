#!/usr/bin/env bash
# Runs every fuzz target for a while, each on a scratch copy of its kept corpus.
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)

status=0
for target in leading_number number_conversion race_rules; do
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
