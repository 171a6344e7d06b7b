// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

// A push button as on the Windows desktop: Space and Enter both activate it
// when it has the focus, and it is never a window's default button.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
