// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/WindowStyle.h"

#include "platform/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace {
// Centres its window on the first show event, which Qt sends before the
// window is mapped, so the window appears in place with no jump.
class CentreOnFirstShow final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            centreOnScreen(static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

Qt::WindowFlags flagsFor(const WindowStyle &style)
{
    const Qt::WindowFlags closeOnly = Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                      | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    switch (style.border) {
    case BorderStyle::None:
        return Qt::Window | Qt::FramelessWindowHint;
    case BorderStyle::FixedSingle:
        return Qt::Window | closeOnly;
    case BorderStyle::FixedDialog:
        // A dialog frame. Qt has no flag that keeps a top-level window out of
        // the taskbar without narrowing its title bar; a window manager keeps
        // dialogs out of it, Windows shows an ownerless one there.
        return Qt::Dialog | closeOnly;
    case BorderStyle::FixedToolWindow:
        // Tool windows have the narrow title bar and stay out of the taskbar.
        return Qt::Tool | closeOnly;
    }
    return Qt::Window;
}
} // namespace

void centreOnScreen(QWidget *window)
{
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
