// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// A straight horizontal rule between two points, in the default text colour.
class LineControl : public QWidget {
    Q_OBJECT
public:
    // From (x1, y) to (x2, y) in twips, thickness in pixels.
    LineControl(QWidget *parent, double x1, double x2, double y, int thickness = 1);

protected:
    void paintEvent(QPaintEvent *event) override;
};
