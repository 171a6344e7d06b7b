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
  # Smaller, for the page's first load. Asyncify makes every function that
  # might be on the call stack when a handler waits able to save and restore
  # it, and counts any call through a pointer as such a function: that is
  # most of Qt. asyncify-remove.json names what never is, because it never
  # calls back into an event handler: allocation and Qt's debug output (their
  # handlers are called through a pointer), the font, picture, regular
  # expression and compression libraries, and drawing, pictures and text
  # layout (nothing waits while it draws). A handler waits only in the race's
  # frames, the message boxes and the page's own waits (platform/Browser.cpp).
  # Link items come after Qt's link options, so -Oz (wasm-opt's smallest)
  # takes the place of Qt's -Os.
  target_link_libraries(${target} PRIVATE -Oz
    "-sASYNCIFY_REMOVE=@${CMAKE_CURRENT_FUNCTION_LIST_DIR}/asyncify-remove.json")
endfunction()
