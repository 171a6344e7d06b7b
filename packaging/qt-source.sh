# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# Sourced by the packaging scripts of the builds that carry a Qt built from
# Debian's source (scripts/package-windows.sh, scripts/package-web.sh).

# qt_source_section WHAT DSC QT_PREFIX: prints the "The source" part of the
# Qt licence notice: which Debian source package WHAT (the Qt DLLs, the Qt
# libraries in rumida.wasm) was built from, where it stays available, its
# files' checksums, and the configure line the Qt build ran.
qt_source_section() {
  local what=$1 dsc=$2 qt=$3 debian_version
  debian_version=$(sed -n 's/^Version: //p' "$dsc")
  cat <<EOT
The source
----------

$what built from Debian's qt6-base source package, version
$debian_version, as Debian 12 unpacks it with its patches applied:

    apt-get source qt6-base=$debian_version

The same source package stays available from Debian's snapshot archive:

    https://snapshot.debian.org/package/qt6-base/${debian_version//+/%2B}/

It consists of these files (SHA-256):

EOT
  sha256sum "$dsc" | sed 's|  .*/|  |; s/^/    /'
  sed -n '/^Checksums-Sha256:/,/^[A-Z]/{/^ /s/^ \([0-9a-f]*\) [0-9]* /    \1  /p}' "$dsc"
  cat <<EOT

Debian's "+dfsg" copy of Qt's release leaves out a few files that are not
free software; its debian/copyright file lists them (Files-Excluded).

The build: Qt's configure, run as follows,

EOT
  sed -n 's/^configure /    configure /p' "$qt/rumida-qt-build.txt"
}
