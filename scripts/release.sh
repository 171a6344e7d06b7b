#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Makes every download of the current version into one folder (make release):
#   rumida_<version>_amd64.deb                   the Debian package
#   rumida-<version>-windows-x64.zip             the Windows zip and installer,
#   rumida-<version>-windows-x64-setup.exe       when the cached Qt for Windows is there
#   rumida-<version>-web.zip                     the web page, when the cached
#                                                Qt for WebAssembly is there
#   rumida-<version>-release-notes.txt           what the release is and how to check it
#   SHA256SUMS                                   the checksums of all of them
# Each is built afresh in a folder of its own (<out>-work/) with the time of
# the last commit as SOURCE_DATE_EPOCH, so the same commit gives the same
# bytes in any clone, at any time, for any user (make release-check checks it).
#
# A tree with uncommitted changes is not the commit: its downloads are named
# <version>+uncommitted.<fingerprint of the changes>, and the notes say so.
# A file already in the folder is never replaced with different bytes: the
# run stops and says which differ.
#
# Usage: release.sh [--out <folder>]   (default: build-release in the clone)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$here/build-release
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--out <folder>]" >&2; exit 2 ;;
  esac
done
die() { echo "release: $*" >&2; exit 1; }
make=${MAKE:-make}
started=$(date +%s)

# The same environment for every user: times in UTC, C sorting, the files
# made readable by all whatever the user's umask.
export TZ=UTC LC_ALL=C.UTF-8
umask 022

git -C "$here" rev-parse --verify -q HEAD >/dev/null || die "$here is not a git clone with a commit"
commit=$(git -C "$here" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(Rumida VERSION \([0-9.]*\) .*/\1/p' "$here/CMakeLists.txt")
[ -n "$version" ] || die "no version in CMakeLists.txt's project()"

# Uncommitted changes (and files git does not ignore) make a release of their
# own, named by a fingerprint of those changes.
label=$version
if [ -n "$(git -C "$here" status --porcelain --untracked-files=all)" ]; then
  fingerprint=$({
    git -C "$here" diff HEAD --binary
    git -C "$here" ls-files -z --others --exclude-standard | LC_ALL=C sort -z \
      | (cd "$here" && xargs -0r sha256sum --)
  } | sha256sum | cut -c1-10)
  label=$version+uncommitted.$fingerprint
  echo "release: the tree has uncommitted changes: the downloads are named $label, not $version"
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$out-work
stage=$work/release
rm -rf "$work"
mkdir -p "$stage"
skipped=()

# The name a download gets in the release: the version in it replaced by the label.
take() {
  local file=$1 name
  name=$(basename "$file")
  cp "$file" "$stage/${name/$version/$label}"
}

echo "== the Debian package"
"$make" -C "$here" --no-print-directory package BENCH_BUILD="$work/linux"
debs=("$work"/linux/rumida_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "no rumida_${version}_*.deb in $work/linux"
take "${debs[0]}"

echo "== the Windows zip and installer"
if bash "$here/scripts/build-qt-windows.sh" --check; then
  "$make" -C "$here" --no-print-directory windows WIN_BUILD="$work/windows"
  bash "$here/scripts/package-windows.sh" --check "$work/windows/dist"
  take "$work/windows/dist/rumida-$version-windows-x64.zip"
  take "$work/windows/dist/rumida-$version-windows-x64-setup.exe"
else
  skipped+=("the Windows zip and installer: no cached Qt for Windows (make windows builds it once, about 40 minutes on 2 cores)")
fi

echo "== the web page"
if bash "$here/scripts/build-qt-wasm.sh" --check; then
  "$make" -C "$here" --no-print-directory web WEB_BUILD="$work/web"
  take "$work/web/rumida-$version-web.zip"
else
  skipped+=("the web page: no cached Qt for WebAssembly (make web builds it once, about 10 minutes on 2 cores)")
fi

echo "== the release notes"
notes=$stage/rumida-$label-release-notes.txt
{
  echo "Rumida (ルミダ) $label"
  echo
  if [ "$label" != "$version" ]; then
    echo "NOT A RELEASE: built from commit $commit with uncommitted changes"
    echo "(fingerprint ${label##*.}). These files are not what that commit builds."
  else
    echo "Built from commit $commit."
  fi
  released=$(sed -n '0,/^ -- /s/^ -- .*  //p' "$here/packaging/changelog")
  echo "Released $(date -u -d "$released" +%Y-%m-%d)."
  echo
  echo "Changes"
  echo "-------"
  # The newest changelog entry, without its heading and trailer.
  sed -n '2,/^ -- /{/^ -- /d;p}' "$here/packaging/changelog" | sed '1{/^$/d}' | sed '${/^$/d}'
  echo
  echo "Downloads"
  echo "---------"
  printf '%-46s %s\n' \
    "rumida_${label}_amd64.deb" "Debian 12 and later (amd64), installed with apt" \
    "rumida-$label-windows-x64.zip" "Windows 10 and 11 (64-bit): unpack, run rumida.exe" \
    "rumida-$label-windows-x64-setup.exe" "the same, installed for the current user" \
    "rumida-$label-web.zip" "the web page: a static web host serves its folder"
  cat <<EOF
A release holds those of them its maker could build; SHA256SUMS lists them.

Built with
----------
Debian 12 (amd64) with these packages; the same versions build the same bytes.
Qt for Windows and for WebAssembly are built once from Debian's qt6-base
source by scripts/build-qt-windows.sh and scripts/build-qt-wasm.sh.
EOF
  for package in cmake ninja-build g++-12 qt6-base-dev dpkg-dev \
                 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis zip \
                 emscripten binaryen python3-fonttools brotli; do
    installed=$(dpkg-query -W -f='${db:Status-Status} ${Version}' "$package" 2>/dev/null || true)
    [[ $installed == "installed "* ]] && installed=${installed#installed } || installed="(not installed)"
    printf '  %-30s %s\n' "$package" "$installed"
  done
  cat <<EOF

Checking a download
-------------------
SHA256SUMS holds the SHA-256 checksum of each download. In the folder that
holds the downloads and SHA256SUMS:
  Linux:    sha256sum -c --ignore-missing SHA256SUMS
  Windows:  Get-FileHash rumida-$label-windows-x64.zip   (PowerShell)
            prints the checksum to compare with its line in SHA256SUMS.
The same commit builds the same bytes: anyone can build the release again
from the source (make release) and compare the checksums.
EOF
} >"$notes"

# Into the release folder: new files are added, a file already there stays
# only if the new one is the same bytes; otherwise nothing is replaced.
differing=()
for file in "$stage"/*; do
  name=$(basename "$file")
  if [ -e "$out/$name" ] && ! cmp -s "$file" "$out/$name"; then
    differing+=("$name")
  fi
done
if [ ${#differing[@]} -gt 0 ]; then
  echo "release: $out already holds different bytes under these names:" >&2
  printf '  %s\n' "${differing[@]}" >&2
  echo "release: nothing was replaced; the new files are in $stage" >&2
  exit 1
fi
for file in "$stage"/*; do
  name=$(basename "$file")
  [ -e "$out/$name" ] || mv "$file" "$out/$name"
done
(cd "$out" && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | LC_ALL=C sort \
  | xargs -d '\n' sha256sum --) >"$work/SHA256SUMS"
mv "$work/SHA256SUMS" "$out/SHA256SUMS"
rm -rf "$work"

echo "== the release, in $out ($(($(date +%s) - started)) s)"
while read -r sum name; do
  printf '%12s  %s\n  sha256 %s\n' "$(stat -c %s "$out/$name")" "$name" "$sum"
done <"$out/SHA256SUMS"
for line in "${skipped[@]}"; do echo "Skipped $line"; done
exit 0
