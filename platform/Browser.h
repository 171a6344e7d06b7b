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
// Suspends the caller until the browser's next animation frame, which paints
// what was drawn before; returns that frame's time in milliseconds.
double nextAnimationFrame();

// A short warning tone.
void beep();

// Tells the page that the game has ended (the page says so and offers a new game).
void announceEnd(int status);
} // namespace Browser
#endif
