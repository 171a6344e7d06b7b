// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/InputGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <utility>

InputGate::InputGate() = default;

InputGate::~InputGate()
{
    if (closed_)
        QCoreApplication::instance()->removeEventFilter(this);
}

void InputGate::close()
{
    if (closed_)
        return;
    closed_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void InputGate::open()
{
    if (!closed_)
        return;
    closed_ = false;
    QCoreApplication::instance()->removeEventFilter(this);
}

void InputGate::deliverHeldCloses()
{
    const auto held = std::exchange(heldCloses_, {});
    for (const QPointer<QWidget> &window : held) {
        if (window && window->isVisible())
            window->close();
    }
}

bool InputGate::isUserInput(int eventType)
{
    switch (eventType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool InputGate::eventFilter(QObject *watched, QEvent *event)
{
    if (isUserInput(event->type()))
        return true;
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        auto *window = static_cast<QWidget *>(watched);
        if (window->isWindow()) {
            if (!heldCloses_.contains(window))
                heldCloses_.append(window);
            event->ignore(); // refused for now: the window stays open
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
