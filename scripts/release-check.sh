#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Checks that a release is reproducible (make release-check): the commit in
# HEAD is cloned twice, into two folders of different names and depths, and
# each clone makes its release (make release) in turn, minutes apart, with a
# different umask, time zone and language. The two SHA256SUMS must be the
# same; where they differ, diffoscope shows how each differing pair differs.
# Both builds use the cached Qt for Windows and for WebAssembly of this
# machine, when they are there.
#
# Usage: release-check.sh [--keep]   (--keep leaves the two clones in place)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
keep=0
[ "${1:-}" = --keep ] && keep=1
die() { echo "release-check: $*" >&2; exit 1; }
command -v diffoscope >/dev/null || die "diffoscope is missing (scripts/install-deps.sh release installs it)"

commit=$(git -C "$here" rev-parse HEAD)
if [ -n "$(git -C "$here" status --porcelain --untracked-files=all)" ]; then
  echo "release-check: checks commit $commit as committed; the uncommitted changes are not in it"
fi
base=$(mktemp -d "${TMPDIR:-/tmp}/rumida-release-check.XXXXXX")
cleanup() { [ $keep -eq 1 ] && echo "release-check: the clones are in $base" || rm -rf "$base"; }
trap cleanup EXIT

first=$base/a
second=$base/the-second-clone/of/rumida
started=$(date +%s)
build() {
  local dir=$1 mask=$2 zone=$3 lang=$4 t
  git clone --quiet --no-hardlinks "$here" "$dir"
  git -C "$dir" checkout --quiet --detach "$commit"
  echo "== make release in $dir (umask $mask, TZ=$zone, LANG=$lang)"
  t=$(date +%s)
  (cd "$dir" && umask "$mask" && env -u SOURCE_DATE_EPOCH -u LC_ALL TZ="$zone" LANG="$lang" make release)
  echo "== $dir: $(($(date +%s) - t)) s"
}
build "$first" 022 UTC C.UTF-8
build "$second" 002 Asia/Tokyo C

echo "== SHA256SUMS of the first clone"
cat "$first/build-release/SHA256SUMS"
echo "== SHA256SUMS of the second clone"
cat "$second/build-release/SHA256SUMS"
if cmp -s "$first/build-release/SHA256SUMS" "$second/build-release/SHA256SUMS"; then
  echo "release-check: the two clones built the same bytes ($(($(date +%s) - started)) s)"
  exit 0
fi
echo "release-check: the two clones built different bytes" >&2
while read -r _ name; do
  if ! cmp -s "$first/build-release/$name" "$second/build-release/$name"; then
    echo "== diffoscope $name"
    diffoscope --text - --no-progress "$first/build-release/$name" "$second/build-release/$name" | head -n 400 || true
  fi
done <"$first/build-release/SHA256SUMS"
keep=1
exit 1
