// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// The version information: title, version, credits and a button back.
class frmVersion : public QWidget {
    Q_OBJECT
public:
    explicit frmVersion(QWidget *parent = nullptr);
    ~frmVersion() override;

private:
    void Command1_Click();
};
