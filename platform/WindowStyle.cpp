// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/WindowStyle.h"

#include "platform/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#ifdef RUMIDA_X11
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace {
#ifdef Q_OS_WASM
// In a web page Qt draws the title bars itself, with its own logo for a
// window that has no icon of its own: such a window shows none there, as on
// the desktop.
void leaveIconBlank(QWidget *window)
{
    if (window->testAttribute(Qt::WA_SetWindowIcon))
        return;
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    window->setWindowIcon(QIcon(blank));
}
#endif

// Centres its window on the first show event, which Qt sends before the
// window is mapped, so the window appears in place with no jump.
class CentreOnFirstShow final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
#ifdef Q_OS_WASM
            leaveIconBlank(static_cast<QWidget *>(watched));
#endif
            centreOnScreen(static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

// A window of its own. In a web page Qt shows every top-level window but a
// dialog or a popup full-page, the size of the canvas: there the game's
// windows are dialogs, which keep the size and the place the game gives them.
#ifdef Q_OS_WASM
constexpr Qt::WindowType TopLevel = Qt::Dialog;
#else
constexpr Qt::WindowType TopLevel = Qt::Window;
#endif

Qt::WindowFlags flagsFor(const WindowStyle &style)
{
    const Qt::WindowFlags closeOnly = Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                      | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (style.border) {
    case BorderStyle::None:
        return TopLevel | Qt::FramelessWindowHint;
    case BorderStyle::FixedSingle:
        return TopLevel | closeOnly;
    case BorderStyle::FixedDialog:
        // A dialog frame. Qt has no flag that keeps a top-level window out of
        // the taskbar without narrowing its title bar: KeepOutOfTaskbar does.
        return Qt::Dialog | closeOnly;
    case BorderStyle::FixedToolWindow:
        // The narrow title bar: a tool window on Windows (which its taskbar
        // never lists), a utility window on X11.
        return Qt::Tool | closeOnly;
    }
    return Qt::Window;
}

// The one window that owns every window kept out of the taskbar. It is never
// shown and lives as long as the program: destroying an owner on Windows
// destroys the windows it owns.
QWindow *hiddenOwner()
{
    static QPointer<QWindow> owner;
    if (!owner) {
        owner = new QWindow;
        owner->setObjectName(QStringLiteral("taskbarOwner"));
        owner->create(); // the desktop can only be given an owner that exists there
    }
    return owner;
}

#ifdef RUMIDA_X11
xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Asks the window manager to leave the window out of taskbars and pagers'
// window lists: _NET_WM_STATE_SKIP_TASKBAR in the window's initial state,
// which an X11 window carries while it is not yet mapped. Qt adds its own
// states to the ones it finds there when it maps the window.
void requestSkipTaskbar(QWindow *window)
{
    // Only on an X server: the offscreen platform answers to the X11
    // interface too, with no connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    const auto cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    bool present = false;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        present = std::find(atoms, atoms + reply->value_len, skip) != atoms + reply->value_len;
    }
    std::free(reply);
    if (!present)
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    xcb_flush(connection);
}
#endif

// Keeps a window out of the taskbar every time it is shown: the Show event
// comes after the window exists on the desktop and before it is mapped.
// - Windows lists every window that has no owner (WS_EX_TOOLWINDOW aside):
//   the window is given a hidden owner, as the desktop's own forms that are
//   kept out of the taskbar are. The owner is never shown, so the window
//   still stands on its own: not above the main window, not minimised with it.
// - X11 taskbars list a window transient for a window they do not know (the
//   hidden owner) unless its state says otherwise: the window asks for
//   _NET_WM_STATE_SKIP_TASKBAR.
class KeepOutOfTaskbar final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || event->spontaneous())
            return false;
        QWindow *window = static_cast<QWidget *>(watched)->windowHandle();
        if (!window)
            return false;
        // A Wayland client cannot keep a window out of the taskbar: xdg-shell
        // has no such request, and taskbars list every toplevel. A parent
        // would only make the window a dialog of its owner (and an owner that
        // never shows is no parent there), so the window stays as it is,
        // listed, as every window of a Wayland desktop.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            return false;
        // A web page has no taskbar.
        if (QGuiApplication::platformName() == QLatin1String("wasm"))
            return false;
        if (!window->transientParent())
            window->setTransientParent(hiddenOwner());
#ifdef RUMIDA_X11
        requestSkipTaskbar(window);
#endif
        return false;
    }
};
} // namespace

void centreOnScreen(QWidget *window)
{
    // On Wayland the place asked for goes nowhere: a client cannot place its
    // windows, and the compositor decides where each one shows (sway puts a
    // new floating window in the middle of the output). Asking costs nothing
    // there, and the same code serves X11 and Windows.
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void applyWindowStyle(QWidget *window, const WindowStyle &style)
{
    window->setWindowFlags(flagsFor(style));
    if (window->layout())
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(style.clientSize);
    window->installEventFilter(new CentreOnFirstShow(window));
    if (!style.inTaskbar)
        window->installEventFilter(new KeepOutOfTaskbar(window));
}

void placeControl(QWidget *control, double left, double top, double width, double height)
{
    QRect r = Twips::rect(left, top, width, height);
    // A wrapping label keeps its box; a text box needs the height of a line.
    const auto *label = qobject_cast<QLabel *>(control);
    if (label && label->wordWrap()) {
        control->setGeometry(r);
        return;
    }
    QSize needed;
    if (label) {
        // A label needs room for its letters: a full-width colon or space at
        // the end of a caption is blank and may overhang the box.
        const QFontMetrics metrics(label->font());
        const int frame = 2 * label->frameWidth();
        needed = QSize(metrics.tightBoundingRect(label->text()).right() + 1 + frame,
                       metrics.height() + frame);
    } else if (qobject_cast<QLineEdit *>(control)) {
        needed = control->minimumSizeHint();
    } else {
        needed = control->sizeHint();
    }
    if (needed.isValid())
        r.setSize(r.size().expandedTo(needed));
    control->setGeometry(r);
}
