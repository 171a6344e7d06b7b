// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/x11/XServer.h"

#include "tests/x11/Desktop.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>

namespace {
// How long the server's events may take to come through on a loaded machine.
constexpr int PassMs = 20000;
} // namespace

XServer::XServer()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    connection_ = x11 ? x11->connection() : nullptr;
    if (!connection_)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    root_ = screen->root;
    // The windows shown on the screen, for the window manager's popups.
    xcb_get_window_attributes_reply_t *attributes
        = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, root_), nullptr);
    if (attributes && !(attributes->your_event_mask & XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY)) {
        const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        watchingRoot_ = true;
    }
    free(attributes);
    const xcb_setup_t *setup = xcb_get_setup(connection_);
    firstKey_ = setup->min_keycode;
    xcb_get_keyboard_mapping_reply_t *map = xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode,
                                 std::uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr);
    if (map) {
        perKey_ = map->keysyms_per_keycode;
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
        keymap_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(map));
    }
    free(map);
    atom_ = atom("_RUMIDA_TEST_BARRIER");
    activeAtom_ = atom("_NET_ACTIVE_WINDOW");
    qApp->installNativeEventFilter(this);
}
XServer::~XServer()
{
    if (!connection_)
        return;
    qApp->removeNativeEventFilter(this);
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

// The marker is a property of a window of the driver's own, never mapped.
// (xdotool has had the server handle its input before it ends: this is for
// input sent here.)
bool XServer::pass()
{
    if (!connection_ || atom_ == XCB_NONE)
        return false;
    const std::uint32_t sent = ++sent_;
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, atom_, XCB_ATOM_CARDINAL, 32, 1, &sent);
    xcb_flush(connection_);
    const bool back = Desktop::waitFor([this, sent] { return seen_ >= sent; }, PassMs);
    QCoreApplication::processEvents();
    return back;
}

void XServer::move(QPoint global)
{
    fake(XCB_MOTION_NOTIFY, 0, global);
    xcb_flush(connection_);
}
void XServer::button(int which, bool down)
{
    fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, std::uint8_t(which), {});
    xcb_flush(connection_);
}
bool XServer::keys(std::initializer_list<xcb_keysym_t> chord)
{
    std::vector<xcb_keycode_t> codes;
    for (xcb_keysym_t sym : chord) {
        const auto [code, shifted] = keycode(sym);
        if (code == 0 || shifted)
            return false;
        codes.push_back(code);
    }
    for (xcb_keycode_t code : codes)
        fake(XCB_KEY_PRESS, code, {});
    for (auto code = codes.rbegin(); code != codes.rend(); ++code)
        fake(XCB_KEY_RELEASE, *code, {});
    xcb_flush(connection_);
    return true;
}
bool XServer::type(const std::u16string &text)
{
    const xcb_keycode_t shift = keycode(ShiftL).first;
    for (char16_t c : text) {
        const auto [code, shifted] = keycode(xcb_keysym_t(c));
        if (code == 0 || c < 0x20 || c > 0x7E)
            return false;
        if (shifted)
            fake(XCB_KEY_PRESS, shift, {});
        fake(XCB_KEY_PRESS, code, {});
        fake(XCB_KEY_RELEASE, code, {});
        if (shifted)
            fake(XCB_KEY_RELEASE, shift, {});
    }
    xcb_flush(connection_);
    return true;
}

bool XServer::key(xcb_keysym_t sym, bool down)
{
    const xcb_keycode_t code = keycode(sym).first;
    if (code == 0)
        return false;
    fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, {});
    xcb_flush(connection_);
    return true;
}

QRect XServer::placeOf(const QWidget *window) const
{
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, xcb_window_t(window->winId()), root_, 0, 0),
        nullptr);
    const QRect place = reply ? QRect(reply->dst_x, reply->dst_y, window->width(), window->height()) : QRect();
    free(reply);
    return place;
}

QPoint XServer::onScreen(const QWidget *control, QPoint at) const
{
    return placeOf(control->window()).topLeft() + control->mapTo(control->window(), at);
}

xcb_window_t XServer::inputFocus() const
{
    if (!connection_)
        return XCB_NONE;
    xcb_get_input_focus_reply_t *reply
        = xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
    const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
    free(reply);
    return focus;
}

xcb_window_t XServer::activeWindow() const
{
    if (!connection_)
        return XCB_NONE;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, root_, activeAtom_, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t window = XCB_NONE;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        window = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
    free(reply);
    return window;
}

bool XServer::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & ~0x80) {
    case XCB_MAP_NOTIFY:
    case XCB_UNMAP_NOTIFY:
    case XCB_CREATE_NOTIFY:
    case XCB_DESTROY_NOTIFY:
    case XCB_CONFIGURE_NOTIFY:
    case XCB_REPARENT_NOTIFY:
    case XCB_GRAVITY_NOTIFY:
    case XCB_CIRCULATE_NOTIFY: {
        // The root's own notices, which only this asked for: Qt never
        // sees them. (Each names the window it was selected on first.)
        const auto *notice = static_cast<const xcb_map_notify_event_t *>(message);
        if (!watchingRoot_ || notice->event != root_)
            break;
        if ((event->response_type & ~0x80) == XCB_MAP_NOTIFY && notice->override_redirect)
            ++popupsMapped;
        return true;
    }
    default: break;
    }
    if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY) {
        const auto *change = static_cast<const xcb_property_notify_event_t *>(message);
        if (change->window == window_ && change->atom == atom_)
            ++seen_; // the markers come back in the order they were sent
    }
    return false;
}

void XServer::fake(std::uint8_t type, std::uint8_t detail, QPoint at)
{
    xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, type == XCB_MOTION_NOTIFY ? root_ : XCB_NONE,
                        std::int16_t(at.x()), std::int16_t(at.y()), 0);
}

std::pair<xcb_keycode_t, bool> XServer::keycode(xcb_keysym_t sym) const
{
    for (int level = 0; level < 2 && level < perKey_; ++level) {
        for (std::size_t i = 0; i * std::size_t(perKey_) < keymap_.size(); ++i) {
            if (keymap_[i * std::size_t(perKey_) + std::size_t(level)] == sym)
                return {xcb_keycode_t(firstKey_ + i), level == 1};
        }
    }
    return {0, false};
}

xcb_atom_t XServer::atom(const char *name) const
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : XCB_NONE;
    free(reply);
    return found;
}
