// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Quitting through the window manager: the close button in openbox's title
// bar of the main window, the game's real message box answered with real
// input.
#include "tests/x11/DesktopGame.h"

#include "platform/MessageService.h"
#include "windows/frmZelko.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

class DesktopQuit : public DesktopGame {
protected:
    QtMessageService realMessages;

    void SetUp() override { startGame(realMessages, noPacing); }

    void TearDown() override
    {
        QApplication::setQuitOnLastWindowClosed(true);
        DesktopGame::TearDown();
    }

    // The program's message box as it was asked, and how it was answered.
    struct Asked {
        QString text;
        QString title;
        QString defaultButton;
        QStringList buttons;
        bool answered = false;
    };

    // Answers the next message box once it is up and active, with the input
    // `answer` gives for it, and records what it asked. The box runs its own
    // event loop inside the game's close handler, so the answer comes from a
    // timer that runs in that loop.
    void answerNextBox(Asked &asked, std::function<QStringList(QMessageBox *)> answer)
    {
        auto *watch = new QTimer(main());
        watch->setInterval(20);
        QObject::connect(watch, &QTimer::timeout, main(), [this, watch, &asked, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || QApplication::activeWindow() != box)
                return;
            watch->stop();
            watch->deleteLater();
            asked.text = box->text();
            asked.title = box->windowTitle();
            asked.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton *button : box->buttons())
                asked.buttons << button->text();
            asked.answered = true;
            desktop.xdotoolAsync(answer(box));
        });
        watch->start();
    }

    static QStringList clickButton(QMessageBox *box, const QString &text)
    {
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == text)
                return Desktop::pointAt(button, button->rect().center()) << QStringLiteral("click")
                                                                         << QStringLiteral("1");
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return {QStringLiteral("key"), QStringLiteral("Escape")};
    }

    void expectQuitQuestion(const Asked &asked)
    {
        EXPECT_TRUE(asked.answered) << "no question came from the title bar's close button";
        EXPECT_EQ(asked.text, QStringLiteral("ルミダを終了しますか？"));
        EXPECT_EQ(asked.title, QStringLiteral("ルミダの終了"));
        EXPECT_EQ(asked.buttons, QStringList({QStringLiteral("OK"), QStringLiteral("キャンセル")}));
        EXPECT_EQ(asked.defaultButton, QStringLiteral("キャンセル"));
    }

    // Clicks the close button and waits until the box it asks has been
    // answered and the main window is active again.
    void closeAndAnswer(Asked &asked, std::function<QStringList(QMessageBox *)> answer)
    {
        answerNextBox(asked, std::move(answer));
        ASSERT_TRUE(desktop.xdotool(closeRequest(main())));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return asked.answered && !QApplication::activeModalWidget()
                       && QApplication::activeWindow() == main();
            },
            WaitMs));
    }
};

TEST_F(DesktopQuit, CloseButtonAsksAndCancelGoesOnOkEndsTheProgram)
{
    // Cancel, clicked: the game goes on.
    Asked first;
    closeAndAnswer(first, [](QMessageBox *box) { return clickButton(box, QStringLiteral("キャンセル")); });
    expectQuitQuestion(first);
    EXPECT_TRUE(main()->isVisible());
    EXPECT_FALSE(main()->isEnding());
    desktop.click(chk(QStringLiteral("12")));
    EXPECT_TRUE(chk(QStringLiteral("12"))->isChecked());
    desktop.type(QStringLiteral("300"));

    // Escape answers Cancel too, and the focus is back where it was, the
    // amount being typed untaken and its typing going on.
    Asked second;
    closeAndAnswer(second, [](QMessageBox *) {
        return QStringList{QStringLiteral("key"), QStringLiteral("Escape")};
    });
    expectQuitQuestion(second);
    EXPECT_FALSE(main()->isEnding());
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("12")));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
#ifdef Q_OS_WIN
    // Under Wine the X focus stays with the window manager when a message
    // box closes (Wine takes the owner for active already and asks the X
    // server for nothing); a player clicks back into the box, which is a
    // return to the same box and moves nothing.
    desktop.click(txt(QStringLiteral("12")));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
#endif
    desktop.type(QStringLiteral("0"));
    EXPECT_EQ(txt(QStringLiteral("12"))->text(), QStringLiteral("3000"));

    // OK, clicked, with a side window open: every window closes and the
    // event loop ends with status 0. Qt's own quit when the last window
    // closes is off, so the status is the game's.
    game->sideWindows().openGallery();
    QPointer<frmZelko> gallery = game->sideWindows().gallery();
    ASSERT_TRUE(waitActive(gallery));
    moveAside(gallery);
    desktop.click(find<QWidget>(QStringLiteral("lblCurrent")));
    ASSERT_TRUE(waitActive(main()));

    QApplication::setQuitOnLastWindowClosed(false);
    Asked third;
    answerNextBox(third, [](QMessageBox *box) { return clickButton(box, QStringLiteral("OK")); });
    const QStringList close = closeRequest(main());
    QTimer::singleShot(0, main(), [&] { desktop.xdotool(close); });
    // Should the program not end, the test does, with another status.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(WaitMs);
    const int status = QApplication::exec();
    watchdog.stop();

    EXPECT_EQ(status, 0);
    expectQuitQuestion(third);
    EXPECT_TRUE(main()->isEnding());
    for (QWidget *window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString() << " is still open";
    EXPECT_TRUE(!gallery || !gallery->isVisible());
}
