// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/MessageService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>

#ifdef Q_OS_WASM
#include "platform/Browser.h"
#include "platform/InputGate.h"
#endif

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

// On Wayland a compositor that draws no frames (weston) leaves the title bar
// to Qt's own decoration, which centres the title between the window icon
// and three buttons (Qt 6.4 draws minimise and maximise whatever the flags)
// and cuts what does not fit: a box as narrow as its text would show
// "ルミダの終" for "ルミダの終了". There the box is made wide enough for its
// whole title, about 80 pixels of icon and buttons on either side of it; a
// compositor that draws the frame itself (sway) just shows a wider box. X11
// and Windows window managers fit the title bar to the box as it is.
void fitTitleOnWayland(QMessageBox &box)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    constexpr int DecorationPerSide = 80;
    const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle()) + 2 * DecorationPerSide;
    grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

#ifdef Q_OS_WASM
// Wakes the asking handler as soon as the box has been answered (hidden), and
// throws away any input that comes between the answer and the handler's
// resumption: nothing may begin a second wait while this one is pending.
class BoxWait final : public QObject {
public:
    explicit BoxWait(QMessageBox &box) : box_(box) { QCoreApplication::instance()->installEventFilter(this); }
    ~BoxWait() override { QCoreApplication::instance()->removeEventFilter(this); }
    BoxWait(const BoxWait &) = delete;
    BoxWait &operator=(const BoxWait &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &box_ && event->type() == QEvent::Hide) {
            answered_ = true;
            Browser::wake();
            return false;
        }
        return answered_ && InputGate::isUserInput(event->type());
    }

private:
    QMessageBox &box_;
    bool answered_ = false;
};
#endif

// Shows the box modally and returns once it has been answered.
void runModal(QMessageBox &box)
{
#ifdef Q_OS_WASM
    // In a web page a nested event loop never gives the browser control
    // back, so the box cannot be exec()'d: it is shown application-modal and
    // the asking handler is suspended until the box has been answered. The
    // handler then goes on as after exec().
    const BoxWait wait(box);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    // No window manager activates a new window here: the box takes the
    // keyboard itself, as exec() gives it on the desktop.
    box.activateWindow();
    while (box.isVisible())
        Browser::waitForWake();
#else
    box.exec();
#endif
}
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
    fitTitleOnWayland(box);
    runModal(box);
    const bool firstChosen = box.clickedButton() == first;

    // The desktop gives the activation back to the window that asked; the
    // offscreen platform does not, so do it here for every platform alike.
    if (asker) {
        asker->window()->activateWindow();
#ifdef Q_OS_WASM
        // The page hands the activation over with the next round of its
        // events: until then no window has the keyboard, and a key the
        // player pressed right after the answer would be lost. It is handed
        // over now (the player's own input, which the page delivers as it
        // comes, is not touched).
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
#endif
    }
    if (buttons == Buttons::OkCancel)
        return firstChosen ? Answer::Ok : Answer::Cancel;
    return firstChosen ? Answer::Yes : Answer::No;
}
