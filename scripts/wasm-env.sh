# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The environment Debian's emscripten needs to build Qt and the game for the
# browser, sourced by build-qt-wasm.sh and the web targets.
#
# Qt's CMake expects emscripten inside an emsdk folder: it reads EMSDK, finds
# a one-line .emscripten there and the compiler under upstream/emscripten.
# Debian's emscripten lives in /usr/share/emscripten with emcc on the PATH,
# so a small emsdk folder of links is made once in the cache. Debian's node
# tools find their modules (acorn, terser) only through NODE_PATH.

rumida_emsdk="${RUMIDA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/rumida}/emsdk"
if [ ! -f "$rumida_emsdk/.emscripten" ] || [ ! -e "$rumida_emsdk/upstream/emscripten/emcc" ]; then
  mkdir -p "$rumida_emsdk/upstream/emscripten"
  echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$rumida_emsdk/.emscripten"
  for tool in emcc em++ emar emranlib emcmake emconfigure emmake; do
    ln -sfn "/usr/bin/$tool" "$rumida_emsdk/upstream/emscripten/$tool"
  done
  ln -sfn /usr/share/emscripten/cmake "$rumida_emsdk/upstream/emscripten/cmake"
fi
export EMSDK="$rumida_emsdk"
export EMSDK_PYTHON=/usr/bin/python3
export EMSCRIPTEN=/usr/share/emscripten
export NODE_PATH=/usr/share/nodejs
