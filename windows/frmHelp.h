// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QPlainTextEdit;

// How to play: the help text in an editable box and a button back.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);
    ~frmHelp() override;

    // The text handed to Text1 when the window is built: fourteen lines, each
    // ending with CR LF, the last one included.
    static QString helpText();

private:
    void Command1_Click();

    QPlainTextEdit *Text1 = nullptr;
};
