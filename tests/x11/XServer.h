// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPoint>
#include <QRect>
#include <xcb/xcb.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class QWidget;

// The X server as a desktop test's driver sees it, on the program's own
// connection: real input through the XTEST extension (the path xdotool
// takes, without a process started for each step), a barrier for the events
// the server has sent, where windows are on the screen, and which window the
// keyboard and the window manager say is active.
class XServer final : public QAbstractNativeEventFilter {
public:
    XServer();
    ~XServer() override;
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Everything the X server sent the program before now has been handled
    // once a property change made now has come back: the server sends a
    // client its events in order. False if it has not come back in time.
    bool pass();

    // Input: motion, a button, keys by their keysyms.
    void move(QPoint global);
    void button(int which, bool down);
    // A chord: pressed in order, released in reverse. False, with nothing
    // sent, if a key is not on the keyboard map or needs Shift there.
    bool keys(std::initializer_list<xcb_keysym_t> chord);
    // Presses or releases one key.
    bool key(xcb_keysym_t sym, bool down);
    // Types text of the keyboard's own characters (printable ASCII on the
    // test desktop's US map), with Shift where the map has it.
    bool type(const std::u16string &text);

    static constexpr xcb_keysym_t ShiftL = 0xffe1, ControlL = 0xffe3, AltL = 0xffe9, Tab = 0xff09,
                                  Return = 0xff0d, Escape = 0xff1b, BackSpace = 0xff08, End = 0xff57,
                                  Right = 0xff53, Down = 0xff54, Space = 0x20;

    // Where a window's client area is on the screen, as the X server has it.
    QRect placeOf(const QWidget *window) const;
    // A point of a control on the screen, from its window's place there.
    QPoint onScreen(const QWidget *control, QPoint at) const;
    // The window the keyboard's input goes to.
    xcb_window_t inputFocus() const;
    // The window the window manager has made active (_NET_ACTIVE_WINDOW).
    xcb_window_t activeWindow() const;

    // How many windows that no window manager handles (popups: the window
    // manager's own Alt+Tab list, say) have been shown on the screen.
    int popupsMapped = 0;

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override;

private:
    void fake(std::uint8_t type, std::uint8_t detail, QPoint at);
    // The key that gives a keysym, and whether it takes Shift.
    std::pair<xcb_keycode_t, bool> keycode(xcb_keysym_t sym) const;
    xcb_atom_t atom(const char *name) const;

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    bool watchingRoot_ = false;
    xcb_atom_t activeAtom_ = XCB_NONE;
    std::vector<xcb_keysym_t> keymap_;
    int perKey_ = 0;
    xcb_keycode_t firstKey_ = 0;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t atom_ = XCB_NONE;
    std::uint32_t sent_ = 0;
    std::uint32_t seen_ = 0;
};
