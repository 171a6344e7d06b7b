// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#ifdef Q_OS_WASM
// What the game needs of the web page it runs in, where a handler cannot
// block: the page has one thread and paints only when control goes back to
// the browser. A handler that waits (the race between its frames, a message
// box for its answer) is suspended with its whole call stack while the
// browser runs (emscripten's asyncify), and resumed where it stopped.
namespace Browser {
// The page keeps one suspended handler at a time: emscripten saves one call
// stack, and a second suspension would overwrite the first's and resume the
// wrong handler into corrupted memory. The game never begins a second (input
// is shut out while a handler waits); should it ever, the program stops with a
// message instead of running on.

// Suspends the caller until the browser's next animation frame, which paints
// what was drawn before; returns that frame's time in milliseconds.
double nextAnimationFrame();

// Suspends the caller until wake() is called by a handler that runs
// meanwhile. The caller resumes as soon as that handler has given control
// back to the browser, before the page is handed any other input.
void waitForWake();
void wake();

// A short warning tone.
void beep();

// Tells the page that the game has ended (the page says so and offers a new game).
void announceEnd(int status);
} // namespace Browser
#endif
