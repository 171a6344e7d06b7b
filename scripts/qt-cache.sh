# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# What the two cross-built Qts (Windows and WebAssembly) share, sourced by
# build-qt-windows.sh and build-qt-wasm.sh: the Qt version, the cache folder,
# the key of a configure line, the command-line handling, Debian's qt6-base
# source fetched once, and the configure, build and install into the cache.
#
# The cache folder is keyed by the Qt version and a hash of the configure line
# (and of whatever else shapes the build), so a changed line builds a new Qt
# beside the old one instead of reusing a Qt configured differently.
# RUMIDA_CACHE moves the cache (default ~/.cache/rumida).

qt_version=6.4.2
qt_cache="${RUMIDA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/rumida}"

# qt_key LINE...: twelve hex digits naming one configuration.
qt_key() {
  printf '%s\n' "$qt_version" "$@" | sha256sum | cut -c1-12
}

# qt_handle_args PREFIX ARG: the --print-prefix and --check answers, or
# nothing when the caller is to build (no argument). Exits for the others.
qt_handle_args() {
  case "${2:-}" in
    --print-prefix) echo "$1"; exit 0 ;;
    --check) [ -f "$1/.complete" ]; exit $? ;;
    "") ;;
    *) echo "usage: $0 [--print-prefix|--check]" >&2; exit 2 ;;
  esac
  if [ -f "$1/.complete" ]; then
    echo "$1"
    exit 0
  fi
}

# qt_source WORK LOG: prints the folder of Debian's qt6-base source, fetching
# it into WORK the first time. apt-get source wants a deb-src entry for the
# archive the machine installs from; install-deps.sh windows adds it. The
# source is the very version of the host Qt the cross builds take their
# tools from.
qt_source() {
  local work=$1 log=$2 src host_version
  src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
  if [ -z "$src" ] || [ ! -f "$src/configure" ]; then
    rm -rf "$work/qt6-base"* "$work"/*.dsc "$work"/*.tar.* 2>/dev/null || true
    host_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
    case "$host_version" in
      "$qt_version"*) ;;
      *) echo "error: the host Qt is $host_version, not $qt_version" >&2; return 1 ;;
    esac
    (cd "$work" && apt-get source --only-source -qq "qt6-base=$host_version" >>"$log" 2>&1)
    src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
  fi
  [ -n "$src" ] && [ -f "$src/configure" ] || { echo "error: no qt6-base $qt_version source (see $log)" >&2; return 1; }
  echo "$src"
}

# qt_build NAME PREFIX KEY MINUTES CONFIGURE_ARG... -- CMAKE_ARG...: configures
# Debian's source with the arguments, builds and installs it into PREFIX,
# writes what the licence files quote (the source and the configure line)
# into PREFIX/rumida-qt-build.txt and marks PREFIX complete. The source is
# kept in the cache for the other Qt; the build folder is removed.
qt_build() {
  local name=$1 prefix=$2 key=$3 minutes=$4
  shift 4
  local configure_args=() cmake_args=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do configure_args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  cmake_args=("$@")

  local work="$qt_cache/work-$key" src build start
  mkdir -p "$work"
  local log="$work/build.log"
  echo "Building Qt $qt_version for $name into $prefix (about $minutes minutes on 2 cores; log: $log)" >&2
  start=$(date +%s)
  # Every Qt shares one copy of the source.
  mkdir -p "$qt_cache/src"
  src=$(qt_source "$qt_cache/src" "$log")

  build="$work/build"
  rm -rf "$build"
  mkdir -p "$build"
  (
    cd "$build"
    "$src/configure" -prefix "$prefix" "${configure_args[@]}" -- -G Ninja "${cmake_args[@]}"
    cmake --build . --parallel "$(nproc)"
    cmake --install .
  ) >>"$log" 2>&1 || { echo "error: the Qt for $name build failed; the end of $log:" >&2; tail -n 40 "$log" >&2; return 1; }

  {
    echo "qt6-base $(basename "$src")"
    echo "configure -prefix <prefix> ${configure_args[*]}"
  } >"$prefix/rumida-qt-build.txt"
  touch "$prefix/.complete"
  rm -rf "$build"
  echo "Qt for $name built in $(( $(date +%s) - start )) s" >&2
  echo "$prefix"
}
