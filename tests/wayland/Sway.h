// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

// The program's windows as sway has them (swaymsg -t get_tree): a Wayland
// client never learns where its windows are on the screen, nor does Qt's
// mapToGlobal know it there, so where to click and where a window stands
// are read from the compositor.
namespace Sway {

struct Window {
    qint64 id = 0;    // the container id that sway's commands take
    QString title;
    QRect frame;      // the container with its border and title bar
    QRect content;    // the client's own surface
    bool focused = false;
};

// The windows of this program (by process id) that sway lays out.
QList<Window> windows();
// The window with `title`, if sway shows it.
std::optional<Window> find(const QString &title);
// The output's area in the same coordinates.
QRect output();

// The window the compositor lays out for `widget`: the widget's own window,
// or for a popup (a menu), the window it pops up from.
const QWidget *laidOutWindow(const QWidget *widget);
// Where `at`, in `control`'s coordinates, is in sway's layout: the
// compositor's place of the window plus the control's place inside it.
// Fails the test where sway shows no such window.
QPoint globalPoint(const QWidget *control, QPoint at);

// Puts the pointer on `at` in `control`'s coordinates and waits until the
// program has had it there. sway sends a window pointer input only once the
// window's state the client last acknowledged is in force, which can come
// after the window already shows in sway's tree: a press sent before then
// would go to whatever was under the pointer. So the pointer is moved until
// the window reports it at that very point. Returns the point in the layout.
QPoint pointerTo(const QWidget *control, QPoint at);

} // namespace Sway
