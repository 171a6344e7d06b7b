#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# What a Windows player downloads: a portable zip and a per-user installer,
# both holding the same folder (the game, the Qt and MinGW-w64 DLLs it loads,
# a Japanese read-me and the licences), then a check of both.
#
# Usage:
#   package-windows.sh --exe <rumida.exe> --qt <Qt prefix> --version <x.yy> --out <folder>
#                      [--qt-source <Qt source folder>] [--no-check]
#       writes <out>/rumida-<version>-windows-x64.zip and
#       <out>/rumida-<version>-windows-x64-setup.exe, then checks them
#   package-windows.sh --check <zip> <setup.exe>
#   package-windows.sh --check <folder>
#       checks a zip and an installer made before (the one pair in <folder>)
#
# The check: the zip holds exactly the expected files under one folder, every
# DLL that any program or DLL in it imports is in it or is part of Windows,
# the texts are what Notepad reads right; then, under Wine in a fresh prefix,
# the installer installs silently what the zip holds, with its Start-menu
# entry and its uninstall entry, installs again over itself, and the silent
# uninstaller leaves no file, shortcut or registry key behind.
#
# The --qt prefix is one scripts/build-qt-windows.sh made; the licence texts
# come from the Qt source it was built from (by default the source folder
# that script keeps beside the prefix), and from Debian's copyright files of
# the MinGW-w64 runtime. SOURCE_DATE_EPOCH (default: the time of the last
# commit) is the time of every file in both, so the same input gives the
# same zip and installer.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/packaging/qt-source.sh"

triplet=x86_64-w64-mingw32
objdump=$triplet-objdump
strip=$triplet-strip
# Where Debian's MinGW-w64 keeps the runtime DLLs: GCC's own (libstdc++,
# libgcc) in the posix-thread compiler's folder, winpthreads in the target's.
gcc_dll_dir=$(dirname "$($triplet-gcc-posix -print-file-name=libgcc_s_seh-1.dll 2>/dev/null)")
[ -f "$gcc_dll_dir/libgcc_s_seh-1.dll" ] || gcc_dll_dir=/usr/lib/gcc/$triplet/12-posix
mingw_dll_dir=/usr/$triplet/lib

# DLLs every Windows 10 has, which a program may import without carrying
# them: what the Qt DLLs, their plugins and the MinGW-w64 runtime import, and
# the rest of the usual desktop set. Compared without case.
system_dlls=(advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d9 d3d11 d3d12 d3dcompiler_47
             dwmapi dwrite dxgi gdi32 gdiplus imm32 iphlpapi kernel32 mpr msimg32 msvcrt ncrypt netapi32
             ntdll ole32 oleaut32 opengl32 powrprof secur32 setupapi shcore shell32 shlwapi user32
             userenv uxtheme version winhttp wininet winmm winspool.drv ws2_32 wtsapi32)

# Plugins, by the subfolder Qt looks for them in beside the exe.
qt_plugins=(platforms/qwindows.dll imageformats/qgif.dll imageformats/qico.dll
            imageformats/qjpeg.dll styles/qwindowsvistastyle.dll)
qt_dlls=(Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll)
# ASCII file names only. Debian's zip 3.0 writes a Japanese name as bare UTF-8
# bytes without the zip's UTF-8 flag, which Explorer on a Japanese Windows
# reads as Shift-JIS, and several archivers popular in Japan ignore the flag
# even where it is set: the name would unpack as garbage. The read-me's
# Japanese title is its first line instead.
readme=README-ja.txt
licence_files=(LICENSE.txt licenses/GPL-3.0.txt licenses/LGPL-3.0.txt licenses/Qt-source.txt
               licenses/Qt-third-party.txt licenses/MinGW-w64-GCC-runtime.txt
               licenses/MinGW-w64-runtime.txt)

die() { echo "package-windows: $*" >&2; exit 1; }
ms() { echo $(( $(date +%s%N) / 1000000 )); }
seconds() { printf '%d.%d' $(($1 / 1000)) $(($1 % 1000 / 100)); }
lower() { tr '[:upper:]' '[:lower:]'; }

tmp=
cleanup() {
  if [ -n "$tmp" ]; then
    # Only the wineserver of our own prefix, if the check started one.
    [ -d "$tmp/wine/prefix" ] && WINEPREFIX="$tmp/wine/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$tmp"
  fi
}
trap cleanup EXIT

pe_imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }

is_system_dll() {
  local name
  name=$(printf '%s' "$1" | lower)
  case "$name" in api-ms-win-*|ext-ms-win-*) return 0 ;; esac
  case " ${system_dlls[*]} " in *" ${name%.dll} "*|*" $name "*) return 0 ;; esac
  return 1
}

# The file of that name in the folder, whatever its case, as Windows finds it.
find_nocase() { find "$1" -maxdepth 1 -type f -iname "$2" -print -quit 2>/dev/null; }

# Every PE file under a folder, as paths relative to it, sorted.
pe_files() { (cd "$1" && find . -type f \( -iname '*.exe' -o -iname '*.dll' \) | sed 's|^\./||' | LC_ALL=C sort); }

# Prints each PE's imports, bundled and system apart, and fails when one
# resolves to neither. Windows looks for a plugin's DLLs in the exe's folder
# (the application folder comes first in the search order), so every import
# is looked up at the top.
report_imports() {
  local root=$1 pe dll bundled system missing=0
  while read -r pe; do
    bundled=() system=()
    while read -r dll; do
      if [ -n "$(find_nocase "$root" "$dll")" ]; then bundled+=("$dll")
      elif is_system_dll "$dll"; then system+=("$dll")
      else echo "  $pe imports $dll, which is neither in the folder nor part of Windows" >&2; missing=1
      fi
    done < <(pe_imports "$root/$pe")
    printf '  %s\n    bundled: %s\n    Windows: %s\n' "$pe" "${bundled[*]:-(none)}" "${system[*]:-(none)}"
  done < <(pe_files "$root")
  return $missing
}

# A text as Windows' Notepad reads it right in every version: UTF-8 with a
# byte-order mark (without one, Notepad before Windows 10 1903 takes the
# ANSI code page, Shift-JIS on a Japanese system) and CRLF line ends.
windows_text() {
  local src=$1 dst=$2
  iconv -f UTF-8 -t UTF-8 "$src" >/dev/null 2>&1 || die "$src is not UTF-8"
  mkdir -p "$(dirname "$dst")"
  { printf '\xef\xbb\xbf'; sed '1s/^\xef\xbb\xbf//; s/\r$//; s/$/\r/' "$src"; } >"$dst"
}

check() {
  local zip=$1 setup=$2 start name version top list expected extra wine_start
  start=$(ms)
  [ -f "$zip" ] || die "no zip $zip"
  [ -f "$setup" ] || die "no installer $setup"
  setup=$(realpath "$setup")
  name=$(basename "$zip")
  version=${name#rumida-}; version=${version%-windows-x64.zip}
  [ "$name" = "rumida-$version-windows-x64.zip" ] || die "$name is not named rumida-<version>-windows-x64.zip"
  top=rumida-$version
  [ -n "$tmp" ] || tmp=$(mktemp -d)
  mkdir -p "$tmp/check"

  echo "== $name"
  unzip -Z1 "$zip" | LC_ALL=C sort >"$tmp/check/list"
  if grep -v "^$top/" "$tmp/check/list" >&2; then die "the entries above are outside $top/"; fi
  unzip -q "$zip" -d "$tmp/check"
  list=$(sed "s|^$top/||" "$tmp/check/list")
  expected=$(printf '%s\n' rumida.exe "${qt_dlls[@]}" "${qt_plugins[@]}" "$readme" "${licence_files[@]}" | LC_ALL=C sort)
  local f missing=0
  for f in $expected; do
    grep -qxF "$f" <<<"$list" || { echo "  missing: $f" >&2; missing=1; }
  done
  # Anything else must be a DLL at the top that something in the zip imports
  # (the MinGW-w64 runtime): no stray file, no DLL that nothing loads.
  local imported
  imported=$(pe_files "$tmp/check/$top" | while read -r f; do pe_imports "$tmp/check/$top/$f"; done | lower | sort -u)
  extra=$(comm -23 <(echo "$list") <(echo "$expected"))
  for f in $extra; do
    if [[ "$f" == */* || "${f,,}" != *.dll ]]; then
      echo "  unexpected: $f" >&2; missing=1
    elif ! grep -qxF "${f,,}" <<<"$imported"; then
      echo "  nothing imports $f" >&2; missing=1
    fi
  done
  [ $missing -eq 0 ] || die "$name does not hold what it should"
  echo "  $(wc -l <<<"$list") files under $top/, as expected"
  for f in "$readme" "${licence_files[@]}"; do
    [ "$(head -c3 "$tmp/check/$top/$f" | od -An -tx1 | tr -d ' ')" = efbbbf ] || die "$f has no UTF-8 byte-order mark"
    [ "$(grep -c $'\r$' "$tmp/check/$top/$f")" = "$(wc -l <"$tmp/check/$top/$f")" ] || die "$f has lines not ended by CRLF"
  done
  echo "  texts: UTF-8 with byte-order mark, CRLF"
  # The program file's own icon and version block, linked in from the
  # resource script, filed as Japanese (0x0411 = 1041).
  local resources
  resources=$(wrestool -l "$tmp/check/$top/rumida.exe")
  grep -q -- '--type=14 .*--language=1041' <<<"$resources" || die "rumida.exe has no Japanese icon: $resources"
  grep -q -- '--type=16 .*--language=1041' <<<"$resources" || die "rumida.exe has no Japanese version block: $resources"
  wrestool -x --raw -t 16 "$tmp/check/$top/rumida.exe" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0' \
    | grep -q "ProductVersion$version" || die "rumida.exe's version block does not say $version"
  echo "  rumida.exe: Japanese icon and version block, version $version"
  echo "== imports of each program and DLL in the zip"
  report_imports "$tmp/check/$top" || die "$name lacks DLLs its programs import"

  echo "== $(basename "$setup") under Wine"
  wine_start=$(ms)
  wine_check "$setup" "$tmp/check/$top" "$version"
  local now
  now=$(ms)
  echo "== checked in $(seconds $((now - start))) s, of which Wine $(seconds $((now - wine_start))) s"
}

# Runs in a subshell: the Wine settings stay there.
wine_check() (
  local setup=$1 folder=$2 version=$3 user instdir shortcut key reg
  local w=$tmp/wine
  mkdir -p "$w/home"
  # A prefix and a home of our own, so that nothing lands in the user's:
  # no Mono or Gecko download, no menu entries for the Linux desktop
  # (winemenubuilder), no log noise; no display, since a silent install and
  # uninstall open no window.
  export WINEPREFIX=$w/prefix HOME=$w/home WINEDEBUG=-all LC_ALL=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME WINEPATH
  # A limit on every Wine step: one that waits for an answer nobody gives
  # would otherwise hold make test for ever.
  timeout 120 wineboot --init >"$w/wineboot.log" 2>&1 || { cat "$w/wineboot.log" >&2; die "wineboot failed"; }
  user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public -printf '%f\n' | head -n 1)
  instdir="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Rumida"
  shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ルミダ.lnk"
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rumida'
  (cd "$WINEPREFIX/drive_c" && find . | LC_ALL=C sort) >"$w/before"

  local round
  for round in install reinstall; do
    timeout 60 wine "$setup" /S || die "the installer failed or timed out ($round)"
    [ -d "$instdir" ] || die "nothing in $instdir after the $round"
    # The same files as the zip, byte for byte, and the uninstaller.
    diff <(cd "$instdir" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) \
         <({ (cd "$folder" && find . -type f | sed 's|^\./||'); echo uninstall.exe; } | LC_ALL=C sort) >&2 \
      || die "the $round did not install what the zip holds (< installed, > expected)"
    (cd "$folder" && find . -type f -exec cmp -s {} "$instdir/{}" \; -o -type f -printf '  differs: %p\n' -quit) \
      | grep . >&2 && die "the $round installed files that differ from the zip's"
    [ -f "$shortcut" ] || die "no Start-menu shortcut after the $round"
    strings -el "$shortcut" | grep -qiF 'Rumida\rumida.exe' || die "the shortcut does not start rumida.exe"
    local status=0
    timeout 60 wine reg export "$key" "C:\\uninst.reg" /y >"$w/reg.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
      # What Wine said, and what the Uninstall key holds, for a failure seen once
      # under load and not since.
      { cat "$w/reg.log"; echo "reg export: exit status $status (124: timed out)"
        timeout 60 wine reg query "${key%\\*}" /s; } >&2 || true
      die "no uninstall registry key after the $round"
    fi
    reg=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/uninst.reg" | tr -d '\r')
    rm -f "$WINEPREFIX/drive_c/uninst.reg"
    local want
    for want in '"DisplayName"="ルミダ"' "\"DisplayVersion\"=\"$version\"" '"Publisher"="Rumida Kobo"' \
                '"UninstallString"="\"C:\\users\\'"$user"'\\AppData\\Local\\Programs\\Rumida\\uninstall.exe\""' \
                '"QuietUninstallString"="\"C:\\users\\'"$user"'\\AppData\\Local\\Programs\\Rumida\\uninstall.exe\" /S"' \
                '"DisplayIcon"="C:\\users\\'"$user"'\\AppData\\Local\\Programs\\Rumida\\rumida.exe,0"' \
                '"NoModify"=dword:00000001' '"NoRepair"=dword:00000001'; do
      grep -qxF "$want" <<<"$reg" || { echo "$reg" >&2; die "the uninstall key lacks $want"; }
    done
    grep -qx '"EstimatedSize"=dword:0000[0-9a-f]*[1-9a-f][0-9a-f]*' <<<"$reg" || die "no EstimatedSize"
  done
  echo "  installed (twice): $(find "$instdir" -type f | wc -l) files, shortcut, uninstall key"
  echo "  installed files (C:\\users\\$user\\AppData\\Local\\Programs\\Rumida):"
  (cd "$instdir" && find . -type f -printf '%P\t%s\n' | LC_ALL=C sort | awk -F'\t' '{printf "    %9d  %s\n", $2, $1}')
  echo "  uninstall key:"
  grep '^"' <<<"$reg" | sed 's/^/    /'

  # As the list of installed apps runs it: the uninstaller copies itself to
  # the temp folder and returns at once; wineserver -w waits for that copy.
  timeout 60 wine "$instdir/uninstall.exe" /S || die "the uninstaller failed or timed out"
  timeout 60 wineserver -w || die "the uninstaller did not end within 60 s"
  [ ! -e "$instdir" ] || { find "$instdir" >&2; die "the uninstaller left the install folder"; }
  [ ! -e "$shortcut" ] || die "the uninstaller left the shortcut"
  ! timeout 60 wine reg query "$key" >/dev/null 2>&1 || die "the uninstaller left the registry key"
  # Anything else new under C: besides what Windows itself keeps: the
  # per-user Programs folder (a known folder every per-user install shares)
  # and the uninstaller's copy in the temp folder, which NSIS leaves to be
  # deleted at the next restart.
  local left
  left=$(comm -13 "$w/before" <(cd "$WINEPREFIX/drive_c" && find . | LC_ALL=C sort) \
         | grep -v -e "^\./users/$user/AppData/Local/Programs\$" -e "^\./users/$user/Temp/~nsu[^/]*\.tmp\(/Au_\.exe\)\?\$" || true)
  [ -z "$left" ] || { echo "$left" >&2; die "the uninstaller left the files above"; }
  echo "  uninstalled: no file, shortcut or registry key left"
)

case "${1:-}" in
  --check)
    if [ $# -eq 2 ] && [ -d "$2" ]; then
      zips=("$2"/rumida-*-windows-x64.zip)
      [ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || die "not one rumida-*-windows-x64.zip in $2"
      set -- --check "${zips[0]}" "${zips[0]%.zip}-setup.exe"
    fi
    [ $# -eq 3 ] || die "usage: $0 --check <zip> <setup.exe> | --check <folder>"
    check "$2" "$3"
    exit 0 ;;
esac

exe= qt= version= out= qt_source= run_check=1
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe=$2; shift 2 ;;
    --qt) qt=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --qt-source) qt_source=$2; shift 2 ;;
    --no-check) run_check=0; shift ;;
    *) die "usage: $0 --exe <rumida.exe> --qt <Qt prefix> --version <x.yy> --out <folder> [--qt-source <dir>] [--no-check] | --check <zip> <setup.exe>" ;;
  esac
done
[ -n "$exe" ] && [ -n "$qt" ] && [ -n "$version" ] && [ -n "$out" ] || die "--exe, --qt, --version and --out are all needed"
[[ "$version" =~ ^[0-9]+(\.[0-9]+){1,3}$ ]] || die "version $version is not numbers with dots"
"$objdump" -f "$exe" 2>/dev/null | grep -q 'file format pei-x86-64' || die "$exe is not a 64-bit Windows program"
qt=$(cd "$qt" && pwd)
[ -f "$qt/bin/Qt6Core.dll" ] && grep -q '^configure ' "$qt/rumida-qt-build.txt" 2>/dev/null \
  || die "$qt is not a Qt that scripts/build-qt-windows.sh made (no configure line in rumida-qt-build.txt)"
if [ -z "$qt_source" ]; then
  # The Qt builds keep Debian's source in src/ beside the prefixes (a Qt
  # built before they shared it, in work-<key> beside qt-<version>-mingw64-<key>).
  qt_source=$(find "$(dirname "$qt")/src" "$(dirname "$qt")/work-${qt##*-}" -maxdepth 1 -type d \
                -name 'qt6-base-*' -print -quit 2>/dev/null || true)
fi
[ -n "$qt_source" ] && [ -f "$qt_source/LICENSES/LGPL-3.0-only.txt" ] || die "no Qt source with its licences (--qt-source)"
dsc=$(find "$(dirname "$qt_source")" -maxdepth 1 -name 'qt6-base_*.dsc' -print -quit)
[ -n "$dsc" ] || die "no Debian source description (qt6-base_*.dsc) beside $qt_source"
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || die "set SOURCE_DATE_EPOCH (no git history to take the time from)"
export SOURCE_DATE_EPOCH=$epoch
mkdir -p "$out"
out=$(cd "$out" && pwd)
zip_file=$out/rumida-$version-windows-x64.zip
setup_file=$out/rumida-$version-windows-x64-setup.exe

tmp=$(mktemp -d)
stage=$tmp/rumida-$version
mkdir -p "$stage"

cp "$exe" "$stage/rumida.exe"
for f in "${qt_dlls[@]}"; do cp "$qt/bin/$f" "$stage/"; done
for f in "${qt_plugins[@]}"; do
  [ -f "$qt/plugins/$f" ] || die "the Qt in $qt has no plugins/$f"
  mkdir -p "$stage/$(dirname "$f")"
  cp "$qt/plugins/$f" "$stage/$f"
done

# The DLLs those import, and what those import in turn, from the Qt and
# MinGW-w64 folders, until nothing new turns up.
while :; do
  added=0
  while read -r pe; do
    while read -r dll; do
      [ -n "$(find_nocase "$stage" "$dll")" ] && continue
      is_system_dll "$dll" && continue
      for dir in "$qt/bin" "$gcc_dll_dir" "$mingw_dll_dir"; do
        found=$(find_nocase "$dir" "$dll")
        if [ -n "$found" ]; then cp "$found" "$stage/"; added=1; break; fi
      done
    done < <(pe_imports "$stage/$pe")
  done < <(pe_files "$stage")
  [ $added -eq 1 ] || break
done
# On the copies only. strip writes SOURCE_DATE_EPOCH as the PE header's time.
while read -r pe; do "$strip" --strip-unneeded "$stage/$pe"; done < <(pe_files "$stage")

sed "s/@VERSION@/$version/g" "$here/packaging/windows/README-ja.txt.in" >"$tmp/readme"
windows_text "$tmp/readme" "$stage/$readme"
windows_text "$here/LICENSE" "$stage/LICENSE.txt"
windows_text "$qt_source/LICENSES/LGPL-3.0-only.txt" "$stage/licenses/LGPL-3.0.txt"
windows_text "$qt_source/LICENSES/GPL-3.0-only.txt" "$stage/licenses/GPL-3.0.txt"
/usr/bin/python3 "$here/packaging/windows/qt-notices.py" "$qt_source" "$tmp/notices"
windows_text "$tmp/notices" "$stage/licenses/Qt-third-party.txt"
# Debian's copyright files of the packages the runtime DLLs come from: GCC's
# (libstdc++, libgcc: GPLv3 with the GCC Runtime Library Exception) and
# MinGW-w64's (winpthreads, and the start-up code linked into every DLL).
for pair in "libstdc++-6.dll:MinGW-w64-GCC-runtime.txt" "libwinpthread-1.dll:MinGW-w64-runtime.txt"; do
  dll=${pair%%:*} package=
  [ -f "$stage/$dll" ] || die "$dll is not in the folder: is rumida.exe a MinGW-w64 posix-thread build?"
  for dir in "$gcc_dll_dir" "$mingw_dll_dir"; do
    if [ -f "$dir/$dll" ]; then package=$(dpkg -S "$dir/$dll" | cut -d: -f1); break; fi
  done
  [ -n "$package" ] || die "no Debian package holds $dll"
  windows_text "/usr/share/doc/$package/copyright" "$stage/licenses/${pair#*:}"
done

{
  cat <<EOF
Qt in Rumida
============

Rumida uses Qt $(sed -n 's/^Version: \([0-9.]*\).*/\1/p' "$dsc") (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the plugins in
the platforms, imageformats and styles folders) under the GNU Lesser General
Public License version 3 (LGPL-3.0.txt, which builds on the GNU General Public
License version 3, GPL-3.0.txt). Qt is Copyright (C) The Qt Company Ltd. and
other contributors. The code of others built into the Qt DLLs is listed, with
its licences, in Qt-third-party.txt.

EOF
  qt_source_section "The Qt DLLs were" "$dsc" "$qt"
  cat <<EOF

with Debian 12's MinGW-w64 cross compiler: GCC with posix threads and SEH
exceptions, package g++-mingw-w64-x86-64-posix $(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix).
Rumida's own source holds the script that ran that build
(scripts/build-qt-windows.sh) and the CMake toolchain file it used
(cmake/mingw-w64-x86_64.cmake).

Replacing Qt
------------

The Qt libraries are separate DLLs that rumida.exe loads when it starts. You
may replace them with your own build of Qt $(sed -n 's/^Version: \([0-9.]*\).*/\1/p' "$dsc"), from this source changed as
you like: build it with the same compiler and configure options (options that
only leave out features rumida.exe does not use are fine), and put your
Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and plugins in place of these, in the
same folders; rumida.exe then runs with yours.

rumida.exe itself has Qt's small Windows entry-point library linked in
(src/entrypoint/qtentrypoint_win.cpp, which starts main()), which Qt offers
under the BSD 3-Clause licence:

EOF
  sed -n '1s|^// ||p' "$qt_source/src/entrypoint/qtentrypoint_win.cpp"
  sed '1{/^Copyright (c) <year> <owner>/d}' "$qt_source/LICENSES/BSD-3-Clause.txt"
} >"$tmp/qt-source"
windows_text "$tmp/qt-source" "$stage/licenses/Qt-source.txt"

echo "== imports of each program and DLL"
report_imports "$stage" || die "DLLs missing: not found in $qt/bin, $gcc_dll_dir or $mingw_dll_dir"

# Same bits, same times, same order: the same zip from the same input.
find "$stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$stage" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$zip_file"
# -X leaves out the Unix owner and time fields; -D the folder entries.
(cd "$tmp" && find "rumida-$version" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 -@ "$zip_file")

# The installer installs and removes the very files of that folder.
{
  echo '!macro RUMIDA_INSTALL_FILES'
  (cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r d; do
    d=${d#.}; d=${d#/}
    echo "  SetOutPath \"\$INSTDIR${d:+\\${d//\//\\}}\""
    find "$stage/$d" -maxdepth 1 -type f | LC_ALL=C sort | sed 's/^/  File "/; s/$/"/'
  done
  echo '!macroend'
  echo '!macro RUMIDA_REMOVE_FILES'
  (cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) | sed 's|/|\\|g; s/^/  Delete "$INSTDIR\\/; s/$/"/'
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) | sed 's|/|\\|g; s/^/  RMDir "$INSTDIR\\/; s/$/"/'
  echo '!macroend'
} >"$tmp/files.nsh"
IFS=. read -r -a parts <<<"$version"
version4=$(for i in 0 1 2 3; do printf '%d\n' "$((10#${parts[$i]:-0}))"; done | paste -sd.)
rm -f "$setup_file"
# The script holds Japanese text: read it as UTF-8 whatever the locale.
makensis -V2 -INPUTCHARSET UTF8 -NOCD \
  -DVERSION="$version" -DVERSION4="$version4" \
  -DCOPYRIGHT="$(grep -m 1 '^Copyright' "$here/LICENSE")" \
  -DICON="$here/resources/pictures/rumida.ico" -DLICENSE_FILE="$stage/LICENSE.txt" \
  -DFILES="$tmp/files.nsh" -DOUTFILE="$setup_file" \
  "$here/packaging/windows/rumida.nsi" >"$tmp/makensis.log" 2>&1 \
  || { cat "$tmp/makensis.log" >&2; die "makensis failed"; }

echo "== wrote"
ls -l "$zip_file" "$setup_file" | awk '{printf "  %10d  %s\n", $5, $NF}'
[ $run_check -eq 1 ] && check "$zip_file" "$setup_file"
exit 0
