// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Stakes follow the money the moment an amount box is left, and closing the
// betting locks them in. Everything is driven with real mouse and key input.
#include "tests/support/MainWindowFixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>

class BettingTest : public MainWindowTest {
protected:
    void SetUp() override { open(); }

    // Ticks a pair, types an amount and leaves the box.
    void stake(const char *digits, const QString &amount)
    {
        clickCheck(digits);
        ASSERT_EQ(focusName(), QStringLiteral("txt") + QLatin1String(digits));
        type(amount);
        leaveBox();
    }
};

TEST_F(BettingTest, TheWorkedSequence)
{
    clickCheck("13");
    EXPECT_TRUE(txt("13")->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("txt13"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));

    type("1500");
    EXPECT_EQ(money(), QStringLiteral("￥10,000")) << "no stake moves while typing";
    clickCheck("24");
    EXPECT_EQ(window->purse().stake(2), 1500);
    EXPECT_EQ(money(), QStringLiteral("￥8,500"));
    EXPECT_EQ(txt("13")->text(), QStringLiteral("￥1,500"));
    EXPECT_TRUE(chk("24")->isChecked());
    EXPECT_TRUE(txt("24")->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("txt24"));

    type("abc");
    click(txt("13"));
    EXPECT_EQ(window->purse().stake(5), 0);
    EXPECT_EQ(txt("24")->text(), QStringLiteral("abc"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000")) << "re-entering txt13 hands 1500 back";
    EXPECT_TRUE(txt("13")->text().isEmpty());
    EXPECT_EQ(focusName(), QStringLiteral("txt13"));

    clickCheck("24");
    EXPECT_EQ(window->purse().stake(2), 0);
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_FALSE(chk("24")->isChecked());
    EXPECT_TRUE(txt("24")->text().isEmpty());
    EXPECT_FALSE(txt("24")->isEnabled());
    EXPECT_TRUE(chk("13")->isChecked());
    EXPECT_TRUE(txt("13")->isEnabled());
}

TEST_F(BettingTest, AmountsAreReadByTheLeadingNumberAndShownAsCurrency)
{
    struct Case {
        const char *typed;
        const char *money;
        const char *shown;
    };
    const Case cases[] = {
        {"500", "￥9,500", "￥500"},
        {"1,000", "￥9,999", "￥1,000"}, // the comma stops the reading: a stake of 1
        {"12abc", "￥9,988", "12abc"},
        {"2.5", "￥9,998", "￥3"},      // 10000 - 2.5 rounds to the even 9998
        {"-300", "￥10,300", "-￥300"},
        {"0", "￥10,000", "￥0"},
        {"", "￥10,000", ""},
        {"1e3", "￥9,000", "1e3"},
        {"20000", "-￥10,000", "￥20,000"}, // more than the money: accepted
        {" 7 5", "￥9,925", " 7 5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        stake("12", QString::fromUtf8(c.typed));
        EXPECT_EQ(money(), QString::fromUtf8(c.money));
        EXPECT_EQ(txt("12")->text(), QString::fromUtf8(c.shown));
        clickCheck("12"); // unticking hands the stake back
        ASSERT_EQ(money(), QStringLiteral("￥10,000"));
    }
    EXPECT_EQ(beep.count, 0);
}

TEST_F(BettingTest, AFractionMovesTheMoneyByItsOwnRounding)
{
    stake("14", "1");
    ASSERT_EQ(money(), QStringLiteral("￥9,999"));
    stake("12", "2.5");
    EXPECT_EQ(window->purse().stake(1), 2);
    EXPECT_EQ(money(), QStringLiteral("￥9,996")); // 9999 - 2.5 = 9996.5, to the even 9996
    click(txt("12"));
    EXPECT_EQ(money(), QStringLiteral("￥9,998")); // only the stake of 2 comes back
}

TEST_F(BettingTest, ReenteringAndUntickingHandTheStakeBack)
{
    stake("23", "500");
    ASSERT_EQ(money(), QStringLiteral("￥9,500"));
    click(txt("23"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_TRUE(txt("23")->text().isEmpty());
    type("800");
    key(Qt::Key_Tab); // Tab leaves too: the next enabled control is cmdEndBet
    ASSERT_EQ(money(), QStringLiteral("￥9,200"));
    clickCheck("23");
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_FALSE(txt("23")->isEnabled());

    // Unticking a pair whose box is empty moves nothing.
    stake("34", "");
    clickCheck("34");
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
}

TEST_F(BettingTest, KeyboardTicksWithSpaceAndEnterInABoxDoesNothing)
{
    chk("12")->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    EXPECT_TRUE(chk("12")->isChecked());
    EXPECT_EQ(focusName(), QStringLiteral("txt12"));
    type("300");
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    EXPECT_EQ(focusName(), QStringLiteral("txt12"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_TRUE(button("cmdEndBet")->isEnabled()) << "Enter must not close the betting";
    EXPECT_EQ(txt("12")->text(), QStringLiteral("300"));
}

TEST_F(BettingTest, AMenuOverATypedAmountMovesNoStake)
{
    clickCheck("12");
    type("500");
    QMenu *file = window->findChild<QMenu *>(QStringLiteral("mnuFile"));
    window->menuBar()->setActiveAction(file->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_Escape);
    QTest::keyClick(window->menuBar(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([file] { return !file->isVisible(); }));
    reactivate();
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_EQ(txt("12")->text(), QStringLiteral("500"));

    // A start over answered while typing: still nothing moves until the box is left.
    messages.answer(MessageService::Answer::Yes);
    pick("mnuStartOver");
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_EQ(txt("12")->text(), QStringLiteral("500"));
    EXPECT_EQ(window->focusWidget(), txt("12"));
    click(chk("23"));
    EXPECT_EQ(money(), QStringLiteral("￥9,500"));
}

TEST_F(BettingTest, AStakeShownAtStartOverComesBackOnTopOfTheNewMoney)
{
    stake("13", "1500");
    ASSERT_EQ(money(), QStringLiteral("￥8,500"));
    messages.answer(MessageService::Answer::Yes);
    pick("mnuStartOver");
    ASSERT_EQ(money(), QStringLiteral("￥10,000"));
    click(txt("13"));
    EXPECT_EQ(money(), QStringLiteral("￥11,500"));
}

TEST_F(BettingTest, AmountsThatDoNotFitAStakeAreRefusedWithABeep)
{
    const QString refused[] = {QStringLiteral("3000000000"), QStringLiteral("-3000000000"),
                               QStringLiteral("1e10"), QStringLiteral("2147483647.5"),
                               QString(100000, QLatin1Char('9'))};
    int beeps = 0;
    for (const QString &amount : refused) {
        SCOPED_TRACE(amount.left(20).toStdString());
        clickCheck("14");
        paste(amount);
        leaveBox();
        EXPECT_EQ(beep.count, ++beeps);
        EXPECT_EQ(money(), QStringLiteral("￥10,000"));
        EXPECT_TRUE(txt("14")->text().isEmpty());
        EXPECT_EQ(window->purse().stake(3), 0);
        clickCheck("14");
    }
    // The limits themselves are stakes.
    stake("14", "2147483647");
    EXPECT_EQ(money(), QStringLiteral("-￥2,147,473,647"));
    stake("24", "-2147483648");
    EXPECT_EQ(money(), QStringLiteral("￥10,001"));
    EXPECT_EQ(beep.count, beeps);
}

TEST_F(BettingTest, PastedFullWidthFormsAndControlCharacters)
{
    clickCheck("12");
    paste(QStringLiteral("１２，０００"));
    leaveBox();
    // Full-width digits read as digits; the full-width comma is no separator.
    EXPECT_EQ(money(), QStringLiteral("￥9,988"));
    EXPECT_EQ(txt("12")->text(), QStringLiteral("１２，０００"));

    clickCheck("13");
    paste(QStringLiteral("－３５０"));
    leaveBox();
    EXPECT_EQ(money(), QStringLiteral("￥10,338"));
    EXPECT_EQ(txt("13")->text(), QStringLiteral("-￥350"));

    clickCheck("14");
    paste(QStringLiteral("\t4\u30000\x01"));
    leaveBox();
    EXPECT_EQ(window->purse().stake(3), 40);
    EXPECT_EQ(money(), QStringLiteral("￥10,298"));

    // A long text of letters reads as nothing, fast, and stays as typed.
    clickCheck("23");
    paste(QString(100000, QLatin1Char('x')));
    leaveBox();
    EXPECT_EQ(money(), QStringLiteral("￥10,298"));
    EXPECT_EQ(txt("23")->text().size(), 100000);
    EXPECT_EQ(beep.count, 0);
}

TEST_F(BettingTest, ClosingTakesTheTypedAmountThenLocksEveryPair)
{
    stake("12", "100");     // staked
    clickCheck("13");       // ticked, left empty
    leaveBox();
    stake("23", "abc");     // a text that is no number still counts
    stake("24", "0");
    clickCheck("34");
    type("700");            // still being typed when the betting closes
    click(button("cmdEndBet"));

    EXPECT_EQ(money(), QStringLiteral("￥9,200"));
    const bool ticked[] = {true, false, false, true, true, true};
    const char *shown[] = {"￥100", "", "", "abc", "￥0", "￥700"};
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(PairDigits[i]);
        EXPECT_EQ(chk(PairDigits[i])->isChecked(), ticked[i]);
        EXPECT_FALSE(chk(PairDigits[i])->isEnabled());
        EXPECT_FALSE(txt(PairDigits[i])->isEnabled());
        EXPECT_EQ(txt(PairDigits[i])->text(), QString::fromUtf8(shown[i]));
    }
    EXPECT_FALSE(button("cmdEndBet")->isEnabled());
    EXPECT_FALSE(button("cmdNext")->isEnabled());
    EXPECT_TRUE(button("cmdStart")->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("cmdStart"));

    // Locked: clicks on the pairs do nothing.
    clickCheck("13");
    click(txt("12"));
    EXPECT_FALSE(chk("13")->isChecked());
    EXPECT_EQ(money(), QStringLiteral("￥9,200"));
}

TEST_F(BettingTest, ClosingWithNoPairTickedStillOpensTheStart)
{
    key(Qt::Key_Space); // cmdEndBet has the focus: Space activates it
    for (const char *digits : PairDigits)
        EXPECT_FALSE(chk(digits)->isChecked());
    EXPECT_TRUE(button("cmdStart")->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("cmdStart"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
}
