#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The quick part of the release check, for make test: the Linux game, and the
# Windows game when the cached Qt for Windows is there, each built twice in
# Release from this tree, in two folders of different names and depths, and
# compared byte for byte. Where a pair differs, diffoscope (or, without it,
# cmp) shows where. make release-check checks every download from two clones.
#
# Usage: rebuild-check.sh <work folder>
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:?usage: rebuild-check.sh <work folder>}
mkdir -p "$work"
work=$(cd "$work" && pwd)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
failed=0

# Shows how two builds of one program differ, and fails the check.
differ() {
  echo "rebuild-check: $1 and $2 differ" >&2
  if command -v diffoscope >/dev/null; then
    diffoscope --text - --no-progress "$1" "$2" | head -n 200 >&2 || true
  else
    echo "rebuild-check: $(cmp -l "$1" "$2" | wc -l) bytes differ (diffoscope shows how)" >&2
  fi
  failed=1
}

rm -rf "$work/linux-a" "$work/second/linux-b" "$work/windows-a" "$work/second/windows-b"
for tree in linux-a second/linux-b; do
  cmake -S "$here" -B "$work/$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$work/$tree" --target rumida >/dev/null
done
if cmp -s "$work/linux-a/app/rumida" "$work/second/linux-b/app/rumida"; then
  echo "rebuild-check: the Linux game, built twice, is the same bytes"
else
  differ "$work/linux-a/app/rumida" "$work/second/linux-b/app/rumida"
fi

if bash "$here/scripts/build-qt-windows.sh" --check; then
  for tree in windows-a second/windows-b; do
    make -C "$here" --no-print-directory windows-build WIN_BUILD="$work/$tree" WIN_TARGETS=rumida >/dev/null
  done
  if cmp -s "$work/windows-a/app/rumida.exe" "$work/second/windows-b/app/rumida.exe"; then
    echo "rebuild-check: the Windows game, built twice, is the same bytes"
  else
    differ "$work/windows-a/app/rumida.exe" "$work/second/windows-b/app/rumida.exe"
  fi
else
  echo "rebuild-check: the Windows game skipped: no cached Qt for Windows (make windows builds it once)"
fi
[ $failed -eq 0 ] && rm -rf "$work"
exit $failed
