// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The main window as it opens, its focus order, start over and quitting.
#include "platform/RandomGenerator.h"
#include "tests/support/Layout.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

TEST_F(MainWindowTest, OpensReadyForBetting)
{
    open();
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    for (const char *digits : PairDigits) {
        bool isNumber = false;
        const double odds = label((std::string("lbl") + digits).c_str()).toDouble(&isNumber);
        EXPECT_TRUE(isNumber) << digits;
        EXPECT_GE(odds, 1.0);
        EXPECT_LE(odds, 11.0); // 10.9999995 reads "11"
        EXPECT_FALSE(chk(digits)->isChecked());
        EXPECT_TRUE(chk(digits)->isEnabled());
        EXPECT_TRUE(txt(digits)->text().isEmpty());
        EXPECT_FALSE(txt(digits)->isEnabled());
    }
    EXPECT_FALSE(button("cmdStart")->isEnabled());
    EXPECT_FALSE(button("cmdNext")->isEnabled());
    EXPECT_TRUE(button("cmdEndBet")->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("cmdEndBet"));
    EXPECT_TRUE(label("lblWinner").isEmpty());
    EXPECT_TRUE(label("lblHaitou").isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ルミダ　Ver1.01"));
    EXPECT_FALSE(window->windowIcon().isNull());
    // Fixed single border: a close box, no minimize or maximize box, no resizing.
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->centralWidget()->size(), QSize(495, 408));
}

TEST_F(MainWindowTest, EveryCaptionShowsWholeWithTheWidestOdds)
{
    // 0.988888f draws the odds 10.88888, eight characters wide.
    open({0.988888f, 0.988888f, 0.988888f, 0.988888f, 0.988888f, 0.988888f});
    ASSERT_EQ(label("lbl12").size(), 8);
    clickCheck("12");
    type(QStringLiteral("2147483647"));
    leaveBox();
    ASSERT_EQ(txt("12")->text(), QStringLiteral("￥2,147,483,647"));
    EXPECT_EQ(txt("12")->cursorPosition(), 0) << "the box shows the start of the amount";
    expectLaidOut(window.get());

    // The money grows past 32 bits with negative stakes; its box keeps every digit.
    for (const char *digits : {"13", "14", "23", "24", "34"}) {
        clickCheck(digits);
        type(QStringLiteral("-2147483648"));
        leaveBox();
    }
    ASSERT_EQ(money(), QStringLiteral("￥8,589,944,593"));
    expectLaidOut(window.get());
}

TEST_F(MainWindowTest, OddsAreTheScriptedDrawsInPairOrder)
{
    open({0.45f, 0.0f, 0.9f, 0.2f, 0.99999994f, 0.5f});
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(label("lbl12"), QStringLiteral("5.5"));
    EXPECT_EQ(label("lbl13"), QStringLiteral("1"));
    EXPECT_EQ(label("lbl14"), QStringLiteral("10"));
    EXPECT_EQ(label("lbl23"), QStringLiteral("3"));
    EXPECT_EQ(label("lbl24"), QStringLiteral("11"));
    EXPECT_EQ(label("lbl34"), QStringLiteral("6"));
    EXPECT_FLOAT_EQ(window->purse().odds(1), 5.5f);
}

TEST_F(MainWindowTest, GeneratorsStartedAtTheSameClockReadingGiveDifferentOdds)
{
    const auto frozen = [] { return std::uint64_t(123456789); };
    SystemRandom first(frozen), second(frozen);
    frmRumida a({messages, beep, first, pacer});
    frmRumida b({messages, beep, second, pacer});
    int same = 0;
    for (int code = 1; code <= rules::PairCount; ++code)
        same += a.purse().odds(code) == b.purse().odds(code);
    EXPECT_LT(same, rules::PairCount);
}

TEST_F(MainWindowTest, TabWalksTheEnabledControlsInOrder)
{
    open();
    QStringList walked;
    for (int i = 0; i < 8; ++i) {
        key(Qt::Key_Tab);
        walked << focusName();
    }
    EXPECT_EQ(walked, (QStringList{"chk12", "chk13", "chk14", "chk23", "chk24", "chk34",
                                   "cmdEndBet", "chk12"}));

    // With every pair ticked the amount boxes join, txt13 last.
    for (const char *digits : PairDigits)
        clickCheck(digits);
    click(chk("34"));
    click(chk("34")); // unticks and ticks again: the focus ends in txt34
    chk("34")->setFocus(Qt::TabFocusReason);
    walked.clear();
    for (int i = 0; i < 7; ++i) {
        key(Qt::Key_Tab);
        walked << focusName();
    }
    EXPECT_EQ(walked, (QStringList{"txt12", "txt14", "txt23", "txt24", "txt34", "txt13",
                                   "cmdEndBet"}));
}

TEST_F(MainWindowTest, StartOverYesRestoresTheMoneyOnly)
{
    open();
    clickCheck("13");
    type("1500");
    click(button("cmdEndBet"));
    ASSERT_EQ(money(), QStringLiteral("￥8,500"));

    messages.answer(MessageService::Answer::No);
    pick("mnuStartOver");
    EXPECT_EQ(money(), QStringLiteral("￥8,500"));

    messages.answer(MessageService::Answer::Yes);
    pick("mnuStartOver");
    ASSERT_EQ(messages.asked.size(), 2);
    EXPECT_EQ(messages.asked.last(),
              (ScriptedMessages::Question{QStringLiteral("初めからやり直しますか？"), QStringLiteral("やり直す？"),
                                          MessageService::Buttons::YesNo, MessageService::Icon::Question, 1}));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    // The closed betting stays closed, the stake stays shown.
    EXPECT_TRUE(chk("13")->isChecked());
    EXPECT_EQ(txt("13")->text(), QStringLiteral("￥1,500"));
    EXPECT_TRUE(button("cmdStart")->isEnabled());
    EXPECT_FALSE(button("cmdEndBet")->isEnabled());
}

TEST_F(MainWindowTest, QuitCancelledFromCloseBoxAndMenuChangesNothing)
{
    open();
    const QString oddsBefore = label("lbl12");
    messages.answer(MessageService::Answer::Cancel);
    window->close();
    messages.answer(MessageService::Answer::Cancel);
    pick("mnuEnd");
    ASSERT_EQ(messages.asked.size(), 2);
    const ScriptedMessages::Question quit{QStringLiteral("ルミダを終了しますか？"), QStringLiteral("ルミダの終了"),
                                          MessageService::Buttons::OkCancel, MessageService::Icon::Question, 2};
    for (const auto &q : messages.asked)
        EXPECT_EQ(q, quit);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isEnding());
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_EQ(label("lbl12"), oddsBefore);
}

TEST_F(MainWindowTest, QuitConfirmedClosesEveryWindowAndExitsWithZero)
{
    open();
    QWidget other; // stands for a side window
    other.show();
    messages.answer(MessageService::Answer::Ok);
    bool handlerRanAfter = false;
    QTimer::singleShot(0, window.get(), [this] { pick("mnuEnd"); });
    // Anything queued behind the answer must not reach the game.
    QTimer::singleShot(0, window.get(), [&] {
        handlerRanAfter = !window->isEnding();
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(handlerRanAfter);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(window->isEnding());
}

TEST_F(MainWindowTest, TheCloseBoxAsksThroughARealMessageBox)
{
    // The one test that answers a real QMessageBox: Escape is Cancel.
    QtMessageService real;
    openWith(GameServices{real, beep, random, pacer});
    QTimer::singleShot(0, [] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("ルミダの終了"));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isEnding());
    // The asking window is active again, with its focus where it was.
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(focusName(), QStringLiteral("cmdEndBet"));
}

TEST_F(MainWindowTest, AYesNoBoxHasNoEscapeAnswer)
{
    QtMessageService real;
    openWith(GameServices{real, beep, random, pacer});
    clickCheck("12");
    type(QStringLiteral("500"));
    click(button("cmdEndBet"));
    ASSERT_EQ(money(), QStringLiteral("￥9,500"));
    QStringList buttons;
    bool stayedAfterEscape = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        stayedAfterEscape = box->isVisible();
        QTest::keyClick(box, Qt::Key_Return); // the default button: はい
    });
    window->findChild<QAction *>(QStringLiteral("mnuStartOver"))->trigger();
    EXPECT_TRUE(stayedAfterEscape);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}
