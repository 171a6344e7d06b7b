#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The inside of wine-session.sh, run on its X server: readies the Wine prefix,
# keeps one wineserver for the whole command, runs the command, and stops the
# wineserver with everything still running in the prefix.
# Usage: wine-prefix.sh <prefix> <command> [its arguments]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
shift

# No Mono or Gecko: Wine would offer to download them for a new prefix.
export WINEPREFIX="$prefix/wine" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
# run-x11.sh's choice of Qt platform is for Linux programs: wine-run.sh would
# hand it on to the Windows ones. Each test says its own (CTest's environment).
unset QT_QPA_PLATFORM QT_XCB_GL_INTEGRATION

# A wineserver left from a run that was stopped hard (it outlives its
# parent) still serves the prefix on a display that is gone.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

# Japanese regional settings for the programs that ask for them (LANG=ja_JP.UTF-8):
# Wine takes the Windows locale from the C library's, which must exist. It is
# compiled here into the prefix's folder, so the machine's locales stay as they are.
export LOCPATH="$prefix/locale"
if [ ! -e "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null \
    || { echo "wine-prefix: localedef could not make ja_JP.UTF-8 (package locales)" >&2; exit 1; }
fi

# The prefix is made once and kept; the stamp names the set-up it was made with.
stamp="$prefix/wine/rumida-setup"
setup_id=$(sha256sum "$here/wine-prefix.sh" "$here/prefix.reg" | sha256sum | cut -c1-16)
if [ "$(cat "$stamp" 2>/dev/null)" != "$setup_id" ]; then
  rm -rf "$prefix/wine"
  # Made under the Japanese locale: Wine writes the regional settings of the
  # locale it is made under into the user's registry, where they stay (a
  # prefix made under C.UTF-8 kept "$" and two decimals for every program).
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wineboot --init >/dev/null 2>&1
  # Wine has no Japanese interface font: the names the Japanese desktop uses
  # (ＭＳ Ｐゴシック, MS UI Gothic, ...) are replaced by IPAPGothic, which Wine
  # finds through fontconfig, and Japanese text falls back to it. A crash
  # prints its backtrace instead of opening a dialog (prefix.reg).
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/prefix.reg"; } >"$prefix/prefix.reg"
  wine regedit /S "Z:${prefix//\//\\}\\prefix.reg" >/dev/null 2>&1
  wineserver -w
  echo "$setup_id" >"$stamp"
fi

wineserver -p
# Wine's own services (services.exe, plugplay, ...) start with the first
# program of a session and inherit its output: started here, with none, so
# that they do not hold a test's output open after the test has ended.
wine wineboot </dev/null >/dev/null 2>&1
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit "$status"
