// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/WindowFocus.h"

#include <QLineEdit>

// A one-line text box whose focus events are the game's: they come from moves
// of its window's own focus (WindowFocus), so a menu, the menu bar taking the
// keyboard, a message box or another window neither takes the focus from the
// box nor gives it back. The window must keep a WindowFocus for them to fire.
class TextBox : public QLineEdit, public FocusHandlers {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    // Whether the box holds its window's focus.
    bool holdsFocus() const;

    // Empties the box from code. Unlike QLineEdit::clear() this is not an
    // edit the player can undo: as in a desktop edit box, Ctrl+Z cannot bring
    // back a text the game took away (a stake handed back, say).
    void empty() { setText(QString()); }

signals:
    void gotFocus();
    void lostFocus();

protected:
    void ownFocusGained() override { emit gotFocus(); }
    void ownFocusLost() override { emit lostFocus(); }

    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
