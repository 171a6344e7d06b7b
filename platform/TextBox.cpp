#include "platform/TextBox.h"

#include <QFocusEvent>
#include <limits>

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    // No length limit of the box's own: as far as Qt goes.
    setMaxLength(std::numeric_limits<int>::max());
}

bool TextBox::isMoveWithinWindow(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from a menu or another window is no new arrival.
    if (holdsFocus_ || !isMoveWithinWindow(event->reason()))
        return;
    holdsFocus_ = true;
    emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!holdsFocus_ || !isMoveWithinWindow(event->reason()))
        return;
    holdsFocus_ = false;
    emit lostFocus();
}
