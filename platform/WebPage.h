// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// The program's side of the web page's keyboard and screen (the page's side
// is web/page-input.js). The page types for the program: a hardware key, a
// soft keyboard's or an input method's committed text all reach Qt as key
// events on the canvas, the way Qt takes typed keys. What the page cannot see
// on its canvas, the program tells it:
//  - when an amount box takes the keyboard and where it is, so that the page
//    lays its text field over the box (a phone opens its numeric keyboard for
//    it, an input method composes there), and when it gives the keyboard up;
//  - how large a screen the open windows need, so that the page scales its
//    drawing to show each of them whole on a small screen.
// When the page's size changes (a rotation, a resize, a soft keyboard), every
// window is kept on the screen: one the game centred is centred again, one
// the player moved is moved back onto the screen as little as needed.
namespace WebPage {
// Call once, after the QApplication exists. On the desktop there is no page,
// and nothing to do.
#ifdef Q_OS_WASM
void install();
#else
inline void install() {}
#endif
} // namespace WebPage
