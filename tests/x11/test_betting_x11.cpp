// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Betting on a real desktop: the amount boxes' stakes when the menu bar, a
// dropdown, another window or the window manager takes the keyboard while an
// amount is typed. After every step the money rules must hold: an unticked
// pair has an empty, disabled box; a ticked pair whose box does not hold the
// window's focus has had exactly the stake its text stands for taken; the box
// that holds the focus has no stake taken; and once menu mode is left, a
// control of the window has Qt's focus, so Tab moves on.
#include "tests/x11/DesktopGame.h"

#include "platform/GameLocale.h"
#include "windows/frmHelp.h"
#include "windows/frmZelko.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <map>
#include <string>

class DesktopBetting : public DesktopGame {
protected:
    void SetUp() override { startGame(scriptedMessages, noPacing); }

    // What the player has typed into each ticked pair's box since the box
    // last took the focus. A pair missing here is unticked.
    std::map<QString, QString> typed;

    static QString digitsOf(const QWidget *box) { return box->objectName().mid(3); }

    // Ticks a pair: its box is enabled, empty, and takes the focus.
    void tick(const QString &digits)
    {
        desktop.click(chk(digits));
        typed[digits].clear();
        EXPECT_TRUE(chk(digits)->isChecked()) << digits.toStdString();
        EXPECT_EQ(ownFocus(), txt(digits));
    }

    // Types into the box that holds the window's focus.
    void typeAmount(const QString &text)
    {
        QWidget *box = ownFocus();
        ASSERT_NE(qobject_cast<TextBox *>(box), nullptr) << "no amount box holds the focus";
        ASSERT_TRUE(typed.count(digitsOf(box)));
        desktop.type(text);
        typed[digitsOf(box)] += text;
        EXPECT_EQ(txt(digitsOf(box))->text(), typed[digitsOf(box)]);
    }

    void expectRules(const std::string &where)
    {
        SCOPED_TRACE(where);
        std::int64_t expected = 10000;
        const QWidget *holder = ownFocus();
        for (const frmRumida::Pair &pair : main()->pairs()) {
            const QString digits = digitsOf(pair.txt);
            SCOPED_TRACE("pair " + digits.toStdString());
            const auto entry = typed.find(digits);
            EXPECT_EQ(pair.chk->isChecked(), entry != typed.end());
            if (entry == typed.end()) {
                EXPECT_TRUE(pair.txt->text().isEmpty());
                EXPECT_FALSE(pair.txt->isEnabled());
                continue;
            }
            EXPECT_TRUE(pair.txt->isEnabled());
            if (pair.txt == holder) {
                // Being typed in: nothing taken yet, the text as typed.
                EXPECT_EQ(pair.txt->text(), entry->second);
                continue;
            }
            const int amount = entry->second.toInt();
            EXPECT_EQ(main()->purse().stake(pair.code), amount);
            EXPECT_EQ(pair.txt->text(), entry->second.isEmpty() ? QString() : currencyText(amount));
            expected -= amount;
        }
        EXPECT_EQ(main()->money(), expected);
        EXPECT_EQ(money(), currencyText(expected));

        if (QApplication::activeWindow() == main() && !QApplication::activePopupWidget()
            && !Desktop::inMenuBar(main())) {
            QWidget *focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << "the window is active and no control has the focus";
            EXPECT_EQ(focus->window(), main());
            EXPECT_EQ(focus, holder) << "Qt's focus is on " << focus->objectName().toStdString()
                                     << ", the game's on "
                                     << (holder ? holder->objectName().toStdString() : "nothing");
        }
    }

    // The end of every walk: Tab moves on from the focused control, leaving
    // a box as any other move does.
    void expectTabMovesOn()
    {
        ASSERT_TRUE(waitActive(main()));
        QWidget *from = QApplication::focusWidget();
        ASSERT_NE(from, nullptr);
        desktop.key(QStringLiteral("Tab"));
        QWidget *to = QApplication::focusWidget();
        ASSERT_NE(to, nullptr);
        EXPECT_NE(to, from) << "Tab did not move on from " << from->objectName().toStdString();
        EXPECT_EQ(to->window(), main());
        // A box that takes the focus hands back the stake it showed.
        if (qobject_cast<TextBox *>(to))
            typed[digitsOf(to)].clear();
        expectRules("after Tab");
    }
};

// (a) The walk the fault was found with.
TEST_F(DesktopBetting, AltThenAClickOnAnotherCheckBoxTakesTheTypedAmount)
{
    tick(QStringLiteral("24"));
    typeAmount(QStringLiteral("700"));
    expectRules("typed");

    desktop.key(QStringLiteral("alt"));
    EXPECT_TRUE(Desktop::inMenuBar(main())) << "Alt did not give the menu bar the keyboard";
    EXPECT_EQ(ownFocus(), txt(QStringLiteral("24")));
    expectRules("menu mode");

    desktop.click(chk(QStringLiteral("13")));
    EXPECT_EQ(money(), QStringLiteral("￥9,300"));
    EXPECT_EQ(txt(QStringLiteral("24"))->text(), QStringLiteral("￥700"));
    EXPECT_EQ(main()->purse().stake(5), 700);
    EXPECT_TRUE(chk(QStringLiteral("13"))->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("13")));
    typed[QStringLiteral("13")].clear();
    expectRules("clicked 1-3");
    expectTabMovesOn();
}

// (b) A dropdown opened with the mouse and closed with one Escape leaves the
// menu bar holding the keyboard; the next click elsewhere takes the amount.
TEST_F(DesktopBetting, EscapeOutOfAClickedMenuThenAClickTakesTheAmount)
{
    tick(QStringLiteral("12"));
    typeAmount(QStringLiteral("450"));

    QMenu *omake = menu("mnuOmake");
    clickMenuTitle(omake);
    ASSERT_TRUE(QTest::qWaitFor([omake] { return omake->isVisible(); }, WaitMs));
    expectRules("dropdown open");

    desktop.key(QStringLiteral("Escape"));
    ASSERT_TRUE(QTest::qWaitFor([omake] { return !omake->isVisible(); }, WaitMs));
    EXPECT_EQ(ownFocus(), txt(QStringLiteral("12")));
    expectRules("dropdown closed");

    desktop.click(chk(QStringLiteral("34")));
    typed[QStringLiteral("34")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,550"));
    EXPECT_EQ(txt(QStringLiteral("12"))->text(), QStringLiteral("￥450"));
    EXPECT_EQ(main()->purse().stake(1), 450);
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("34")));
    expectRules("clicked 3-4");
    expectTabMovesOn();
}

// (c) A menu item picked with the keyboard opens another window; a click back
// in the main window takes the amount, once.
TEST_F(DesktopBetting, MenuPickedByKeyboardThenAClickBackTakesTheAmountOnce)
{
    tick(QStringLiteral("14"));
    typeAmount(QStringLiteral("300"));

    desktop.key(QStringLiteral("alt"));
    ASSERT_TRUE(Desktop::inMenuBar(main()));
    desktop.key(QStringLiteral("Right")); // おまけ
    desktop.key(QStringLiteral("Right")); // ヘルプ
    desktop.key(QStringLiteral("Return")); // its dropdown, 使い方 highlighted
    QMenu *help = menu("mnuH");
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isVisible(); }, WaitMs));
    EXPECT_EQ(help->activeAction(), main()->findChild<QAction *>(QStringLiteral("mnuHow")));
    desktop.key(QStringLiteral("Return"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return game->sideWindows().help() != nullptr; }, WaitMs));
    frmHelp *helpWindow = game->sideWindows().help();
    ASSERT_TRUE(waitActive(helpWindow));
    EXPECT_EQ(ownFocus(), txt(QStringLiteral("14")));
    expectRules("help window open");

    moveAside(helpWindow);
    desktop.click(chk(QStringLiteral("23")));
    ASSERT_TRUE(waitActive(main()));
    typed[QStringLiteral("23")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,700"));
    EXPECT_EQ(txt(QStringLiteral("14"))->text(), QStringLiteral("￥300"));
    EXPECT_EQ(main()->purse().stake(3), 300);
    EXPECT_TRUE(chk(QStringLiteral("23"))->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("23")));
    expectRules("clicked 2-3");
    expectTabMovesOn();
}

// The help window, opened from menu mode, closed with its title bar's close
// button: the window manager activates the main window again, and the box
// has Qt's focus back (not the menu bar), typing going on until Tab leaves.
TEST_F(DesktopBetting, MenuPickedByKeyboardThenTheHelpWindowClosedTypingGoesOn)
{
    tick(QStringLiteral("14"));
    typeAmount(QStringLiteral("300"));
    desktop.key(QStringLiteral("alt"));
    desktop.key(QStringLiteral("Right"));
    desktop.key(QStringLiteral("Right"));
    desktop.key(QStringLiteral("Return"));
    desktop.key(QStringLiteral("Return"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return game->sideWindows().help() != nullptr; }, WaitMs));
    QPointer<frmHelp> helpWindow = game->sideWindows().help();
    ASSERT_TRUE(waitActive(helpWindow));
    moveAside(helpWindow);

    ASSERT_TRUE(closeByCloseButton(helpWindow)) << "the help window's close button did not close it";
    ASSERT_TRUE(waitActive(main()));
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("14")));
    expectRules("help window closed");

    typeAmount(QStringLiteral("5"));
    expectTabMovesOn();
    EXPECT_EQ(txt(QStringLiteral("14"))->text(), QStringLiteral("￥3,005"));
}

// (d) From menu mode straight back into the box: no move, typing goes on.
TEST_F(DesktopBetting, AltThenAClickBackIntoTheSameBoxMovesNothing)
{
    tick(QStringLiteral("24"));
    typeAmount(QStringLiteral("70"));
    desktop.key(QStringLiteral("alt"));
    ASSERT_TRUE(Desktop::inMenuBar(main()));

    // Clicked after its text, so the caret stays at the end.
    TextBox *box = txt(QStringLiteral("24"));
    desktop.click(box, QPoint(box->width() - 6, box->height() / 2));
    EXPECT_FALSE(Desktop::inMenuBar(main()));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    expectRules("back in the box");

    typeAmount(QStringLiteral("0"));
    EXPECT_EQ(box->text(), QStringLiteral("700"));
    desktop.click(chk(QStringLiteral("13")));
    typed[QStringLiteral("13")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,300"));
    EXPECT_EQ(box->text(), QStringLiteral("￥700"));
    expectRules("clicked 1-3");
    expectTabMovesOn();
}

// (e) Another window of the program activated while an amount is typed: the
// gallery opened from the menu with the mouse, then, already open, clicked.
TEST_F(DesktopBetting, SideWindowActivatedWhileTypingTakesNothingUntilAnotherControlIsClicked)
{
    tick(QStringLiteral("12"));
    typeAmount(QStringLiteral("250"));

    QMenu *omake = menu("mnuOmake");
    clickMenuTitle(omake);
    ASSERT_TRUE(QTest::qWaitFor([omake] { return omake->isVisible(); }, WaitMs));
    clickMenuItem(omake, "mnuZelko");
    ASSERT_TRUE(QTest::qWaitFor([this] { return game->sideWindows().gallery() != nullptr; }, WaitMs));
    frmZelko *gallery = game->sideWindows().gallery();
    ASSERT_TRUE(waitActive(gallery));
    EXPECT_EQ(ownFocus(), txt(QStringLiteral("12")));
    expectRules("gallery opened");

    moveAside(gallery);
    desktop.click(chk(QStringLiteral("34")));
    ASSERT_TRUE(waitActive(main()));
    typed[QStringLiteral("34")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,750"));
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("34")));
    expectRules("clicked 3-4");

    typeAmount(QStringLiteral("80"));
    // The open gallery clicked on its photograph, which takes no focus.
    desktop.click(gallery->findChild<QWidget *>(QStringLiteral("imgDefault")));
    ASSERT_TRUE(waitActive(gallery));
    expectRules("gallery clicked");

    desktop.click(chk(QStringLiteral("14")));
    ASSERT_TRUE(waitActive(main()));
    typed[QStringLiteral("14")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,670"));
    EXPECT_EQ(txt(QStringLiteral("34"))->text(), QStringLiteral("￥80"));
    expectRules("clicked 1-4");
    expectTabMovesOn();
}

// (f) The window manager takes the activation away and gives it back
// (openbox's Alt+Tab to another window of the program and back).
TEST_F(DesktopBetting, AltTabAwayAndBackKeepsTheBoxAndTypingGoesOn)
{
    // A second window to switch to, out of the main window's way.
    game->sideWindows().openHelp();
    frmHelp *helpWindow = game->sideWindows().help();
    ASSERT_NE(helpWindow, nullptr);
    ASSERT_TRUE(waitActive(helpWindow));
    moveAside(helpWindow);

    tick(QStringLiteral("23"));
    ASSERT_TRUE(waitActive(main()));
    typeAmount(QStringLiteral("60"));

    ASSERT_TRUE(desktop.xdotool({QStringLiteral("key"), QStringLiteral("alt+Tab")}));
    ASSERT_TRUE(waitActive(helpWindow)) << "Alt+Tab did not switch to the help window";
    expectRules("switched away");

    ASSERT_TRUE(desktop.xdotool({QStringLiteral("key"), QStringLiteral("alt+Tab")}));
    ASSERT_TRUE(waitActive(main())) << "Alt+Tab did not switch back";
    EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("23")));
    expectRules("switched back");

    typeAmount(QStringLiteral("0"));
    desktop.click(chk(QStringLiteral("12")));
    typed[QStringLiteral("12")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,400"));
    EXPECT_EQ(txt(QStringLiteral("23"))->text(), QStringLiteral("￥600"));
    expectRules("clicked 1-2");
    expectTabMovesOn();
}

// (g) F10 changes nothing of the rules, whatever the style makes of it.
TEST_F(DesktopBetting, F10KeepsTheRules)
{
    tick(QStringLiteral("13"));
    typeAmount(QStringLiteral("900"));
    desktop.key(QStringLiteral("F10"));
    EXPECT_EQ(ownFocus(), txt(QStringLiteral("13")));
    expectRules("F10");
    if (Desktop::inMenuBar(main())) {
        desktop.key(QStringLiteral("Escape"));
        EXPECT_EQ(QApplication::focusWidget(), txt(QStringLiteral("13")));
        expectRules("menu mode left");
    }

    desktop.click(chk(QStringLiteral("12")));
    typed[QStringLiteral("12")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,100"));
    expectRules("clicked 1-2");
    expectTabMovesOn();
}

// (h) A middle click pastes the X11 primary selection into a box that does
// not hold the focus: the box takes the focus first, which hands back the
// stake it showed, then holds the pasted text, untaken until it is left.
TEST_F(DesktopBetting, MiddleClickPasteIntoAnotherBoxTakesTheFocusFirst)
{
    tick(QStringLiteral("12"));
    typeAmount(QStringLiteral("500"));
    tick(QStringLiteral("13"));
    EXPECT_EQ(money(), QStringLiteral("￥9,500"));
    typeAmount(QStringLiteral("300"));

    QClipboard *clipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(clipboard->supportsSelection());
    clipboard->setText(QStringLiteral("250"), QClipboard::Selection);

    TextBox *box = txt(QStringLiteral("12"));
    ASSERT_EQ(box->text(), QStringLiteral("￥500"));
    desktop.click(box, 2);
    typed[QStringLiteral("12")] = QStringLiteral("250");
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(box->text(), QStringLiteral("250"));
    EXPECT_EQ(txt(QStringLiteral("13"))->text(), QStringLiteral("￥300"));
    EXPECT_EQ(money(), QStringLiteral("￥9,700"));
    expectRules("pasted");

    desktop.click(chk(QStringLiteral("14")));
    typed[QStringLiteral("14")].clear();
    EXPECT_EQ(money(), QStringLiteral("￥9,450"));
    EXPECT_EQ(box->text(), QStringLiteral("￥250"));
    expectRules("clicked 1-4");
    expectTabMovesOn();
}
