// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/TextBox.h"

#include <QDropEvent>
#include <limits>

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    // No length limit of the box's own: as far as Qt goes.
    setMaxLength(std::numeric_limits<int>::max());
    // Text is not dragged out of the box (QLineEdit's default, said here
    // because the box's handlers rely on it): a press and move selects.
    setDragEnabled(false);
}

bool TextBox::holdsFocus() const
{
    const WindowFocus *focus = WindowFocus::of(window());
    return focus && focus->current() == this;
}

// Text dropped into a box would change it behind its focus handlers: a box
// that shows a stake would show another one than was taken. Only the box
// being typed in takes a drop, as typing or pasting would.
void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (holdsFocus())
        QLineEdit::dragEnterEvent(event);
    else
        event->ignore();
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (holdsFocus())
        QLineEdit::dragMoveEvent(event);
    else
        event->ignore();
}

void TextBox::dropEvent(QDropEvent *event)
{
    if (holdsFocus())
        QLineEdit::dropEvent(event);
    else
        event->ignore();
}
