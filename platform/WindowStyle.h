// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>

class QWidget;

// The four window borders the game's windows use. None of them can be resized.
enum class BorderStyle {
    None,            // no title bar or frame at all (the splash card)
    FixedSingle,     // title bar with the close box only
    FixedDialog,     // as FixedSingle, a dialog frame
    FixedToolWindow, // a narrow title bar with the close box only
};

struct WindowStyle {
    BorderStyle border = BorderStyle::FixedSingle;
    // Out of the taskbar: the window is owned by a hidden window (Windows)
    // and asks the window manager to skip it (X11). A Wayland client has no
    // way to ask: there the window is listed.
    bool inTaskbar = true;
    QSize clientSize; // in device-independent pixels
};

// Sets the window's flags and fixes its client size, and centres it on the
// screen when it is first shown. Call from the window's constructor after
// its controls exist.
void applyWindowStyle(QWidget *window, const WindowStyle &style);

// Centres a window on its screen's available area now.
void centreOnScreen(QWidget *window);

// Sets a control's geometry from twips; where the installed font needs more
// room for its caption than the layout gives, the control grows to its text,
// keeping its left and top.
void placeControl(QWidget *control, double left, double top, double width, double height);
