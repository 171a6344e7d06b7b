// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/LineControl.h"

#include "platform/Twips.h"

#include <QPainter>

LineControl::LineControl(QWidget *parent, double x1, double x2, double y, int thickness)
    : QWidget(parent)
{
    // The rule is centred on its y, as a thick pen is drawn.
    const int top = Twips::toPixels(y) - thickness / 2;
    setGeometry(Twips::toPixels(x1), top, Twips::toPixels(x2) - Twips::toPixels(x1) + 1, thickness);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().windowText());
}
