// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/support/Layout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
// The controls directly inside `container`, checked against its rectangle.
void expectControlsLaidOut(QWidget *container, QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *control : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisibleTo(window))
            controls << control;
    }
    ASSERT_GE(controls.size(), 2);
    const QRect area = container->rect();
    for (QWidget *control : controls) {
        const std::string name = control->objectName().toStdString();
        const QRect r = control->geometry();
        // The horses stand against the right edge, their last pixel beyond it.
        if (!control->property("Left").isValid()) {
            EXPECT_TRUE(area.contains(r)) << name;
        }
        if (auto *label = qobject_cast<QLabel *>(control)) {
            // Room for the letters themselves: a blank full-width colon may overhang.
            const QFontMetrics metrics(label->font());
            const QRect ink = metrics.tightBoundingRect(label->text());
            const int frame = 2 * label->frameWidth();
            QSize needed = label->wordWrap()
                               ? QSize(r.width(), label->heightForWidth(r.width()))
                               : QSize(ink.right() + 1 + frame, label->sizeHint().height());
            // A label aligned to its top needs room for its letters only.
            if (!label->wordWrap() && (label->alignment() & Qt::AlignTop))
                needed.setHeight(metrics.ascent() + ink.bottom() + 1);
            EXPECT_LE(needed.width(), r.width()) << name;
            EXPECT_LE(needed.height(), r.height()) << name;
        }
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            const QFontMetrics metrics = button->fontMetrics();
            EXPECT_LT(metrics.horizontalAdvance(button->text()), r.width()) << name;
            EXPECT_LT(metrics.height(), r.height()) << name;
        }
        if (auto *box = qobject_cast<QCheckBox *>(control)) {
            EXPECT_LE(box->sizeHint().width(), r.width()) << name;
            EXPECT_LE(box->sizeHint().height(), r.height()) << name;
        }
        for (QWidget *other : controls) {
            if (other != control && other->objectName() < control->objectName()) {
                EXPECT_FALSE(r.intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
        }
        if (qobject_cast<QGroupBox *>(control))
            expectControlsLaidOut(control, window);
    }
}
} // namespace

void expectLaidOut(QWidget *window)
{
    SCOPED_TRACE(window->objectName().toStdString());
    QWidget *client =
        window->findChild<QWidget *>(QStringLiteral("client"), Qt::FindDirectChildrenOnly);
    expectControlsLaidOut(client ? client : window, window);
}
