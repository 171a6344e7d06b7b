// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/MessageService.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {
// QMessageBox makes the "No" button the escape answer of a Yes/No box; the
// game's boxes without Cancel must be answered with a button.
class GameMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool hasEscapeAnswer = true;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!hasEscapeAnswer && event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (!hasEscapeAnswer) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};
} // namespace

MessageService::Answer QtMessageService::ask(QWidget *owner, const QString &text,
                                             const QString &title, Buttons buttons, Icon icon,
                                             int defaultButton)
{
    const QPointer<QWidget> asker(owner);
    GameMessageBox box(icon == Icon::Question ? QMessageBox::Question : QMessageBox::Critical,
                       title, text, QMessageBox::NoButton, owner);
    QPushButton *first = nullptr;
    QPushButton *second = nullptr;
    if (buttons == Buttons::OkCancel) {
        first = box.addButton(QMessageBox::Ok);
        second = box.addButton(QMessageBox::Cancel);
        first->setText(QStringLiteral("OK"));
        second->setText(QStringLiteral("キャンセル"));
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        first->setText(QStringLiteral("はい(&Y)"));
        second->setText(QStringLiteral("いいえ(&N)"));
        box.hasEscapeAnswer = false;
    }
    box.setDefaultButton(defaultButton == 2 ? second : first);
    box.exec();
    const bool firstChosen = box.clickedButton() == first;

    // The desktop gives the activation back to the window that asked; the
    // offscreen platform does not, so do it here for every platform alike.
    if (asker) {
        asker->window()->activateWindow();
    }
    if (buttons == Buttons::OkCancel)
        return firstChosen ? Answer::Ok : Answer::Cancel;
    return firstChosen ? Answer::Yes : Answer::No;
}
