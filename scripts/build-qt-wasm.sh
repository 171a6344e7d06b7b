#!/usr/bin/env bash
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Builds Qt for WebAssembly once, from Debian's own qt6-base source, with
# Debian's emscripten, into a cache outside the clone; later runs find it there.
#
# Usage: build-qt-wasm.sh [--print-prefix | --check]
#   (none)           build it if the cache lacks it, then print its prefix
#   --print-prefix   print where it is (or would be) and do nothing else
#   --check          exit 0 when the cached Qt is there, 1 when it is not
#
# Static, as Qt for WebAssembly only comes: the page loads one .wasm.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/scripts/qt-cache.sh"

# What the game does not use is left out, as for Windows; a page has one
# thread, so no thread support. Asyncify lets a handler wait in the middle
# (the race's frames, the message boxes' answers) while the browser goes on:
# without it every such wait would have to become a callback, and the game's
# handlers would differ between the browser and the desktop.
# The page is downloaded at every first visit, so Qt leaves out what the
# game's windows never show. Linking statically drops a class nobody calls,
# but not one that the classes the game uses reach: QWidget's painting path
# reaches graphics effects and graphics-view proxies, the accessibility
# factory every widget class it knows, QMainWindow the dock widgets and tool
# bars, the styles the views and spin boxes they draw. The game keeps its
# labels, buttons, check boxes, group boxes, line edits, the help text's
# plain text edit, menus and the menu bar, message boxes, style sheets, the
# clipboard, drag and drop, the input method hooks, and JPEG, PNG, GIF, BMP
# and ICO pictures. The MIME types stay (the page's drag and drop asks for
# them) but not Qt's built-in copy of their database, and so does the file
# system model, whose header Qt Widgets' module header includes, and the
# slider, which Qt's scroll bars need for the help text. Linked statically,
# what stays unused costs nothing.
unused_by_the_game=(
  -no-feature-itemviews -no-feature-columnview -no-feature-datawidgetmapper
  -no-feature-treewidget -no-feature-listwidget -no-feature-tablewidget
  -no-feature-combobox -no-feature-fontcombobox -no-feature-spinbox -no-feature-datetimeedit
  -no-feature-calendarwidget -no-feature-commandlinkbutton -no-feature-radiobutton
  -no-feature-dial -no-feature-lcdnumber -no-feature-progressbar
  -no-feature-keysequenceedit -no-feature-textbrowser -no-feature-syntaxhighlighter
  -no-feature-splashscreen -no-feature-splitter -no-feature-formlayout -no-feature-stackedwidget
  -no-feature-tabwidget -no-feature-tabbar -no-feature-toolbox
  -no-feature-dockwidget -no-feature-mdiarea -no-feature-statusbar -no-feature-statustip
  -no-feature-rubberband -no-feature-scroller -no-feature-effects
  -no-feature-graphicsview -no-feature-graphicseffect -no-feature-undoview
  -no-feature-colordialog -no-feature-filedialog -no-feature-fontdialog -no-feature-inputdialog
  -no-feature-progressdialog -no-feature-errormessage -no-feature-wizard
  -no-feature-textmarkdownreader -no-feature-textmarkdownwriter -no-feature-textodfwriter
  -no-feature-pdf -no-feature-systemtrayicon -no-feature-sessionmanager -no-feature-movie
  -no-feature-undocommand -no-feature-undostack -no-feature-undogroup
  -no-feature-tabletevent -no-feature-whatsthis -no-feature-standarditemmodel
  -no-feature-imageformat_ppm -no-feature-imageformat_xbm
  -no-feature-mimetype-database -no-feature-sortfilterproxymodel -no-feature-transposeproxymodel
  -no-feature-concatenatetablesproxymodel -no-feature-stringlistmodel
  -no-feature-jalalicalendar -no-feature-hijricalendar -no-feature-islamiccivilcalendar
)
configure_args=(
  -release -static -optimize-size
  -xplatform wasm-emscripten -qt-host-path /usr
  -nomake examples -nomake tests
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-printsupport
  -no-feature-concurrent -no-feature-thread -no-feature-testlib -no-feature-dbus
  -device-option QT_EMSCRIPTEN_ASYNCIFY=1
  "${unused_by_the_game[@]}"
)
# The key takes emscripten's version, so a build asked for installs it first;
# without it, --check answers that no Qt is there.
[ $# -gt 0 ] || bash "$here/scripts/install-deps.sh" web >&2
emscripten_version=$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || echo none)
# Qt 6.4's styles keep a QHash in a private header (qcommonstyle_p.h) that
# only the item views' headers include: without the views, Qt Widgets' own
# sources (and only those) have it included first.
include_first='#if defined(__cplusplus) && defined(QT_BUILD_WIDGETS_LIB)
#include <QtCore/qhash.h>
#endif'
key=$(qt_key "${configure_args[@]}" "$include_first" "$emscripten_version")
prefix="$qt_cache/qt-$qt_version-wasm-$key"
qt_handle_args "$prefix" "${1:-}"

. "$here/scripts/wasm-env.sh"
include_file="$qt_cache/qt-$qt_version-wasm-$key-include-first.h"
mkdir -p "$qt_cache"
printf '%s\n' "$include_first" >"$include_file"
qt_build WebAssembly "$prefix" "$key" 10 "${configure_args[@]}" -- \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "-DCMAKE_CXX_FLAGS=-include $include_file" \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
