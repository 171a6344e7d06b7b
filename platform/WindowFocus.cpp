// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/WindowFocus.h"

#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

WindowFocus::WindowFocus(QWidget *window) : QObject(window), window_(window)
{
    setObjectName(QStringLiteral("windowFocus"));
    connect(qApp, &QApplication::focusChanged, this, &WindowFocus::follow);
    window->installEventFilter(this);
}

WindowFocus::~WindowFocus() = default;

WindowFocus *WindowFocus::of(const QWidget *window)
{
    return window ? window->findChild<WindowFocus *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool WindowFocus::isControl(const QWidget *widget) const
{
    if (!widget || widget == window_ || widget->window() != window_)
        return false;
    for (const QWidget *w = widget; w && w != window_; w = w->parentWidget()) {
        if (qobject_cast<const QMenuBar *>(w))
            return false;
    }
    return true;
}

void WindowFocus::follow()
{
    QWidget *now = window_->focusWidget();
    if (!now || now == current_ || !isControl(now))
        return;
    const QPointer<QWidget> from = current_;
    current_ = now;
    if (auto *handlers = dynamic_cast<FocusHandlers *>(from.data()))
        handlers->ownFocusLost();
    // The leave handler may itself have moved the focus on.
    if (current_ == now) {
        if (auto *handlers = dynamic_cast<FocusHandlers *>(now))
            handlers->ownFocusGained();
    }
}

// Qt leaves the window's focus child on the menu bar when menu mode ends while
// the window is not active (the window left in menu mode, a menu pick that
// opens a message box or another window). The window would come back with no
// control focused, keys lost and Tab going nowhere; the desktop gives the
// focus back to the control that held it. Done as the window is activated,
// before Qt gives the focus to its focus child, so nothing else sees the bar.
void WindowFocus::returnFromMenuBar()
{
    auto *bar = qobject_cast<QMenuBar *>(window_->focusWidget());
    if (!bar || bar->activeAction() || !current_)
        return;
    if (current_->isEnabled() && current_->isVisible())
        current_->setFocus(Qt::ActiveWindowFocusReason);
}

bool WindowFocus::eventFilter(QObject *watched, QEvent *event)
{
    // The focus child of a window that is not active changes without a word to
    // the application (a click into it before the window system activates it,
    // a handler's setFocus while a side window is active); its window handle
    // reports it, from the moment the window has one.
    if (watched == window_ && !handleWatched_ && window_->windowHandle()) {
        handleWatched_ = true;
        connect(window_->windowHandle(), &QWindow::focusObjectChanged, this, &WindowFocus::follow);
    }
    if (watched == window_ && event->type() == QEvent::WindowActivate)
        returnFromMenuBar();
    return QObject::eventFilter(watched, event);
}
