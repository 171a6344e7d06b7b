# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# How a program is linked for the web page: the game (app/), its test build
# (tests/web/) and the bare window it is measured against (bench/web/).
# Qt for WebAssembly's own settings come with Qt: a modular program started by
# Qt's loader, asyncify (the device option it was built with), growing memory.

function(rumida_web_program target)
  target_link_options(${target} PRIVATE
    # Only a browser runs the page: no code for node or workers.
    "SHELL:-s ENVIRONMENT=web"
    # Room for the call stack of a suspended handler (a race, a message box)
    # while the browser runs: the handler, Qt's event delivery below it and
    # the browser's callback at the bottom.
    "SHELL:-s ASYNCIFY_STACK_SIZE=262144")
  # Qt's loader writes the environment the page gives it (web/page.js) into
  # the program's ENV, which the program exports for it.
  set_property(TARGET ${target} PROPERTY QT_WASM_EXTRA_EXPORTED_METHODS ENV)
endfunction()
