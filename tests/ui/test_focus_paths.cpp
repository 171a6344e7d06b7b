// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Every way a desktop moves the focus or the text of an amount box behind the
// game's back, each followed by the betting's invariants: an unticked pair has
// an empty, disabled box; a ticked pair whose box does not hold the window's
// focus has had exactly the stake its text stands for taken from the money;
// the box that holds the focus has no stake taken.
#include "tests/support/MainWindowFixture.h"

#include "platform/NumberText.h"
#include "platform/TextBox.h"
#include "race/rules.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class FocusPathTest : public MainWindowTest {
protected:
    static constexpr std::int64_t Start = 10000;

    void SetUp() override { open(); }

    // The invariants, with `base` the money before any stake shown now was taken.
    void expectInvariants(std::int64_t base = Start, const char *where = "")
    {
        SCOPED_TRACE(where);
        std::int64_t expected = base;
        for (const frmRumida::Pair &pair : window->pairs()) {
            const std::string name = pair.txt->objectName().toStdString();
            if (!pair.chk->isChecked()) {
                EXPECT_TRUE(pair.txt->text().isEmpty()) << name;
                EXPECT_FALSE(pair.txt->isEnabled()) << name;
                continue;
            }
            if (pair.txt == ownFocus() || pair.txt->text().isEmpty())
                continue;
            // A shown amount in the currency format stands for its number (these
            // tests type plain whole amounts); any other text for its leading number.
            const QString text = pair.txt->text();
            const auto stake = rules::stakeFromAmount(convertNumber(text).value_or(readLeadingNumber(text)));
            ASSERT_TRUE(stake.has_value()) << name;
            EXPECT_EQ(window->purse().stake(pair.code), *stake) << name << " shows " << pair.txt->text().toStdString();
            expected -= *stake;
        }
        EXPECT_EQ(window->money(), expected);
        // Whatever happened, the window has a control to type into or Tab from
        // once no menu holds the keyboard.
        if (!window->menuBar()->activeAction() && QApplication::activeWindow() == window.get()) {
            EXPECT_EQ(focus(), ownFocus()) << "Qt's focus " << focusName().toStdString();
        }
    }

    // Ticks a pair and types an amount into its box, which keeps the focus.
    void typeInto(const char *digits, const QString &amount)
    {
        clickCheck(digits);
        ASSERT_EQ(ownFocus(), txt(digits));
        type(amount);
    }

    // Clicks into a box and puts the caret at its end.
    void clickInto(const char *digits)
    {
        click(txt(digits));
        key(Qt::Key_End);
    }
};

TEST_F(FocusPathTest, AltThenAClickElsewhereTakesTheTypedAmount)
{
    typeInto("24", "700");
    tapAlt();
    ASSERT_EQ(focus(), window->menuBar()) << "the menu bar has the keyboard";
    EXPECT_EQ(ownFocus(), txt("24"));
    expectInvariants(Start, "menu mode");

    clickCheck("13");
    EXPECT_EQ(money(), QStringLiteral("￥9,300"));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("￥700"));
    EXPECT_EQ(window->purse().stake(5), 700);
    EXPECT_TRUE(chk("13")->isChecked());
    EXPECT_EQ(focusName(), QStringLiteral("txt13"));
    expectInvariants(Start, "after the click");

    // Tab goes on from the box the click left the focus in.
    key(Qt::Key_Tab);
    EXPECT_NE(focus(), txt("13"));
    EXPECT_EQ(focus(), ownFocus());
}

TEST_F(FocusPathTest, ReturningToTheSameBoxRunsNothing)
{
    typeInto("24", "700");
    // Alt, then a click back into the box: the typing goes on.
    tapAlt();
    clickInto("24");
    type("5");
    EXPECT_EQ(txt("24")->text(), QStringLiteral("7005"));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    // Alt twice: menu mode on and off, the keyboard back in the box.
    tapAlt();
    tapAlt();
    EXPECT_EQ(focus(), txt("24"));
    type("0");
    // Alt, then Escape leaves menu mode.
    tapAlt();
    QTest::keyClick(window->menuBar(), Qt::Key_Escape);
    EXPECT_EQ(focus(), txt("24"));
    type("0");
    EXPECT_EQ(txt("24")->text(), QStringLiteral("700500"));
    expectInvariants();

    leaveBox();
    EXPECT_EQ(window->money(), Start - 700500);
    expectInvariants();
}

TEST_F(FocusPathTest, KeysTypedInMenuModeGoToTheMenus)
{
    typeInto("24", "700");
    tapAlt();
    // Down opens the first menu (ファイル), Escape twice leaves it and menu mode.
    QTest::keyClick(window->menuBar(), Qt::Key_Down);
    auto *file = find<QMenu>(QStringLiteral("mnuFile"));
    EXPECT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("700")) << "no key reached the box";
    QTest::keyClick(file, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([file] { return !file->isVisible(); }));
    QTest::keyClick(window->menuBar(), Qt::Key_Escape);
    reactivate();
    EXPECT_EQ(focus(), txt("24"));
    expectInvariants();
}

TEST_F(FocusPathTest, AMenuClosedWithOneEscapeOrAClickElsewhere)
{
    typeInto("24", "700");
    QMenu *omake = openMenu("mnuOmake");
    ASSERT_NE(omake, nullptr);
    QTest::keyClick(omake, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([omake] { return !omake->isVisible(); }));
    reactivate();
    expectInvariants(Start, "one Escape out of the menu");

    clickCheck("13");
    EXPECT_EQ(window->purse().stake(5), 700);
    EXPECT_EQ(window->money(), Start - 700);
    expectInvariants(Start, "a click after the Escape");

    // Typing in 1-3, the menu opened and closed by a click on the course.
    type("300");
    omake = openMenu("mnuOmake");
    ASSERT_NE(omake, nullptr);
    QTest::mouseClick(omake, Qt::LeftButton, Qt::NoModifier, QPoint(-50, 200));
    EXPECT_TRUE(QTest::qWaitFor([omake] { return !omake->isVisible(); }));
    reactivate();
    expectInvariants(Start, "menu closed by a click elsewhere");
    clickCheck("34");
    EXPECT_EQ(window->money(), Start - 700 - 300);
    expectInvariants(Start, "a click after the menu");
}

TEST_F(FocusPathTest, MenuPicksAfterAltMoveNoStakeUntilTheBoxIsLeft)
{
    int helpAsked = 0;
    QObject::connect(window.get(), &frmRumida::helpRequested, [&] { ++helpAsked; });
    typeInto("24", "700");

    // Alt, Left to ヘルプ, Down opens it, Enter picks 使い方.
    tapAlt();
    QTest::keyClick(window->menuBar(), Qt::Key_Left);
    QTest::keyClick(window->menuBar(), Qt::Key_Down);
    auto *help = find<QMenu>(QStringLiteral("mnuH"));
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isVisible(); }));
    QTest::keyClick(help, Qt::Key_Return);
    EXPECT_EQ(helpAsked, 1);
    reactivate();
    EXPECT_EQ(focus(), txt("24")) << "the keyboard is back in the box";
    expectInvariants(Start, "after the pick");

    // はじめから after Alt, answered Yes: the money is reset, the typing goes on.
    messages.answer(MessageService::Answer::Yes);
    tapAlt();
    QTest::keyClick(window->menuBar(), Qt::Key_Down);
    auto *file = find<QMenu>(QStringLiteral("mnuFile"));
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_Return);
    reactivate();
    EXPECT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(focus(), txt("24"));
    expectInvariants(Start, "after start over");

    click(button("cmdEndBet"));
    EXPECT_EQ(window->money(), Start - 700);
    EXPECT_TRUE(chk("24")->isChecked());
    EXPECT_EQ(focusName(), QStringLiteral("cmdStart"));
}

TEST_F(FocusPathTest, F10IsHarmless)
{
    typeInto("24", "700");
    key(Qt::Key_F10);
    expectInvariants(Start, "F10");
    clickCheck("13");
    EXPECT_EQ(window->money(), Start - 700);
    expectInvariants(Start, "a click after F10");
}

TEST_F(FocusPathTest, TheContextMenuOfTheFocusedBox)
{
    typeInto("24", "700");
    QApplication::clipboard()->setText(QStringLiteral("80"));
    EXPECT_TRUE(contextMenuPick(txt("24"), QStringLiteral("Paste")));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("70080"));
    EXPECT_TRUE(contextMenuPick(txt("24"), QStringLiteral("Undo")));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("700"));
    EXPECT_TRUE(contextMenuPick(txt("24"), QStringLiteral("Select All")));
    EXPECT_TRUE(contextMenuPick(txt("24"), QStringLiteral("Delete")));
    EXPECT_TRUE(txt("24")->text().isEmpty());
    EXPECT_TRUE(contextMenuPick(txt("24"), QStringLiteral("Paste")));
    contextMenuPick(txt("24"), QString());
    EXPECT_EQ(ownFocus(), txt("24"));
    expectInvariants(Start, "context menu on the focused box");

    clickCheck("13");
    EXPECT_EQ(window->money(), Start - 80);
    expectInvariants(Start, "after leaving the box");
}

TEST_F(FocusPathTest, TheContextMenuOfAnotherBoxTakesTheFocusFirst)
{
    typeInto("13", "1500");
    typeInto("24", "700");
    EXPECT_EQ(window->money(), Start - 1500);
    // A right-click on 1-3, which shows its stake: 2-4 is left (700 taken),
    // 1-3 is entered (1500 handed back) before the menu opens.
    QApplication::clipboard()->setText(QStringLiteral("300"));
    EXPECT_TRUE(contextMenuPick(txt("13"), QStringLiteral("Paste")));
    EXPECT_EQ(ownFocus(), txt("13"));
    EXPECT_EQ(txt("13")->text(), QStringLiteral("300"));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("￥700"));
    expectInvariants(Start, "pasted into the other box");

    // Undo in a third, staked box: the right-click enters it (50 handed back,
    // the box emptied), and that emptying is no edit to undo.
    clickCheck("34");
    type("50");
    clickCheck("12");
    EXPECT_FALSE(contextMenuPick(txt("34"), QStringLiteral("Undo")));
    EXPECT_TRUE(txt("34")->text().isEmpty());
    expectInvariants(Start, "undo in a box just entered");
    leaveBox();
    expectInvariants(Start, "all boxes left");
    EXPECT_EQ(window->money(), Start - 700 - 300);
}

TEST_F(FocusPathTest, OnlyTheBoxBeingTypedInTakesADrop)
{
    typeInto("13", "1500");
    typeInto("24", "700");
    // 1-3 shows its stake and has no focus: the drop is refused.
    EXPECT_FALSE(dropText(txt("13"), QStringLiteral("9")));
    EXPECT_EQ(txt("13")->text(), QStringLiteral("￥1,500"));
    expectInvariants(Start, "drop on a staked box");
    // A disabled box takes nothing either.
    EXPECT_FALSE(dropText(txt("34"), QStringLiteral("9")));
    EXPECT_TRUE(txt("34")->text().isEmpty());
    // The box being typed in takes it, as a paste.
    EXPECT_TRUE(dropText(txt("24"), QStringLiteral("9")));
    EXPECT_TRUE(txt("24")->text().contains(QLatin1Char('9')));
    expectInvariants(Start, "drop on the focused box");
    leaveBox();
    expectInvariants(Start, "after leaving");
}

TEST_F(FocusPathTest, TextIsNotDraggedOutOfABox)
{
    typeInto("24", "700");
    key(Qt::Key_A, Qt::ControlModifier);
    QWidget *box = txt("24");
    QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
    QTest::mouseMove(box, box->rect().center() + QPoint(200, 80));
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, box->rect().center() + QPoint(200, 80));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("700"));
    expectInvariants();
}

TEST_F(FocusPathTest, AMiddleClickEntersTheBoxBeforeItPastes)
{
    typeInto("13", "1500");
    typeInto("24", "700");
    QApplication::clipboard()->setText(QStringLiteral("40"), QClipboard::Selection);
    QTest::mouseClick(txt("13"), Qt::MiddleButton, Qt::NoModifier, txt("13")->rect().center());
    EXPECT_EQ(ownFocus(), txt("13"));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("￥700"));
    if (QApplication::clipboard()->supportsSelection())
        EXPECT_EQ(txt("13")->text(), QStringLiteral("40"));
    else
        EXPECT_TRUE(txt("13")->text().isEmpty());
    expectInvariants(Start, "middle click");
}

TEST_F(FocusPathTest, UndoAndRedoCannotBringBackAStake)
{
    typeInto("24", "700");
    clickCheck("13"); // 2-4 shows ￥700
    clickInto("24");  // handed back, emptied
    EXPECT_EQ(window->money(), Start);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(txt("24")->text().isEmpty());
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(txt("24")->text().isEmpty());
    expectInvariants(Start, "undo after re-entering");

    // A text that stays as typed keeps its history until the box is entered again.
    type("12abc");
    clickInto("13");
    clickInto("24");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(txt("24")->text().isEmpty());
    expectInvariants(Start, "undo after a text left as typed");

    // Undo while typing is the player's own edit and stays so.
    type("55");
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    leaveBox();
    expectInvariants(Start, "after leaving");
}

TEST_F(FocusPathTest, ASideWindowActivatedWhileTypingThenAClickOnTheMainWindow)
{
    typeInto("24", "700");
    QWidget side;
    side.setWindowTitle(QStringLiteral("side"));
    side.resize(200, 100);
    side.show();
    side.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&side));
    expectInvariants(Start, "side window active");

    // A click into the inactive main window: the press moves its focus before
    // the window system activates it; the box is left before the tick.
    clickCheck("13");
    EXPECT_EQ(window->money(), Start - 700);
    EXPECT_TRUE(chk("13")->isChecked());
    reactivate();
    EXPECT_EQ(focus(), txt("13"));
    expectInvariants(Start, "after the click");

    // Back in the side window and straight back to the same box: nothing.
    type("20");
    side.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&side));
    reactivate();
    EXPECT_EQ(focus(), txt("13"));
    type("0");
    EXPECT_EQ(txt("13")->text(), QStringLiteral("200"));
    expectInvariants(Start, "deactivated and reactivated");
    leaveBox();
    EXPECT_EQ(window->money(), Start - 900);
}

TEST_F(FocusPathTest, LeavingTheWindowInMenuModeGivesTheFocusBackOnReturn)
{
    typeInto("24", "700");
    tapAlt();
    QWidget side;
    side.resize(200, 100);
    side.show();
    side.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&side));
    reactivate();
    EXPECT_EQ(focus(), txt("24")) << "Qt's focus " << focusName().toStdString();
    type("5");
    EXPECT_EQ(txt("24")->text(), QStringLiteral("7005"));
    expectInvariants(Start, "back from another window");
}
