// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// A race at its real pace on a real desktop while the player goes on using
// the mouse and the keyboard: the window manager's input reaches the program
// between frames and is thrown away, so nothing of it acts, during the race
// or after it.
#include "tests/x11/DesktopGame.h"

#include "platform/FramePacer.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {
// The game's own frame pacing, with a look at each frame.
class WatchedPacer final : public FramePacer {
public:
    void start() override
    {
        frames = 0;
        real_.start();
        if (onStart)
            onStart();
    }
    void frame() override
    {
        real_.frame();
        ++frames;
        if (onFrame)
            onFrame();
    }

    int frames = 0;
    std::function<void()> onStart;
    std::function<void()> onFrame;

private:
    DisplayPacer real_;
};
} // namespace

class DesktopRace : public DesktopGame {
protected:
    WatchedPacer pacer;

    void SetUp() override
    {
        // Odds 3.5, 6, 8.5, 2.25, 4.75 and 7.25 for 1-2 ... 3-4.
        random.script({0.25f, 0.5f, 0.75f, 0.125f, 0.375f, 0.625f});
        startGame(scriptedMessages, pacer);
    }

    // The shortest race, 636 steps, won by `winner` with `second` next. At
    // three steps a frame and 60 frames a second it takes 212 frames, about
    // 3.5 s.
    void scriptRace(int winner, int second) { random.script(drawsForSteps(raceWonBy(winner, second))); }
};

TEST_F(DesktopRace, InputDuringTheRaceIsThrownAwayAndTheResultStands)
{
    desktop.click(chk(QStringLiteral("12")));
    desktop.type(QStringLiteral("1000"));
    desktop.click(chk(QStringLiteral("34")));
    desktop.type(QStringLiteral("500"));
    desktop.click(find<QPushButton>(QStringLiteral("cmdEndBet")));
    auto *start = find<QPushButton>(QStringLiteral("cmdStart"));
    auto *next = find<QPushButton>(QStringLiteral("cmdNext"));
    ASSERT_TRUE(start->isEnabled());
    ASSERT_EQ(money(), QStringLiteral("￥8,500"));
    QMenu *omake = menu("mnuOmake");
    ASSERT_TRUE(omake->isEnabled()); // the one menu left enabled while the horses run
    scriptRace(1, 2);

    // What the player does while the horses run, each of which acts when it
    // gets through: the gallery picked by keyboard (Alt for menu mode, Right
    // to おまけ, Return to open it, Return on its item), F10, Space and a digit
    // to the focused control; a click on the menu; the wheel over an amount
    // box; a click on a check box and one where the next-race button will be
    // enabled.
    QStringList input{QStringLiteral("key"),    QStringLiteral("alt"),    QStringLiteral("Right"),
                      QStringLiteral("Return"), QStringLiteral("Return"), QStringLiteral("F10"),
                      QStringLiteral("space"),  QStringLiteral("5")};
    constexpr int Keys = 7;
    QMenuBar *bar = main()->menuBar();
    input << Desktop::pointAt(bar, bar->actionGeometry(omake->menuAction()).center())
          << QStringLiteral("click") << QStringLiteral("1");
    TextBox *box = txt(QStringLiteral("12"));
    input << Desktop::pointAt(box, box->rect().center()) << QStringLiteral("click") << QStringLiteral("4");
    QCheckBox *unticked = chk(QStringLiteral("23"));
    input << Desktop::pointAt(unticked, Desktop::clickPoint(unticked)) << QStringLiteral("click")
          << QStringLiteral("1");
    input << Desktop::pointAt(next, next->rect().center()) << QStringLiteral("click") << QStringLiteral("1");
    constexpr int Clicks = 3;

    // Anything of it that acts shows between frames.
    QStringList landed;
    auto lookForEffects = [&] {
        auto note = [&](bool happened, const char *what) {
            if (happened && !landed.contains(QLatin1String(what)))
                landed << QLatin1String(what);
        };
        note(Desktop::inMenuBar(main()), "menu mode");
        note(QApplication::activePopupWidget() != nullptr, "a dropdown open");
        note(game->sideWindows().gallery() != nullptr, "the gallery open");
        note(unticked->isChecked(), "2-3 ticked");
        note(QApplication::activeWindow() != main(), "another window active");
    };

    QElapsedTimer clock;
    Desktop::Seen atStart;
    Desktop::Seen inRace;
    HostCommand *player = nullptr;
    bool playerDoneInRace = false;
    pacer.onStart = [&] {
        clock.start();
        // Ahead of the game's input gate, to see what reaches the program.
        desktop.countFirst();
        atStart = desktop.seen();
        QTimer::singleShot(300, main(), [&] { player = desktop.xdotoolAsync(input); });
    };
    pacer.onFrame = [&] {
        inRace = desktop.seen();
        lookForEffects();
        playerDoneInRace = player && !player->running();
    };

    desktop.click(start); // returns once the race is over
    const qint64 raceMs = clock.elapsed();
    ASSERT_EQ(label("lblWinner"), QStringLiteral("1-2"));
    EXPECT_EQ(pacer.frames, rules::FewestSteps / frmRumida::StepsPerFrame);
    EXPECT_GE(raceMs, 3000) << "the race was not paced";

    // All of it reached the program while the horses ran.
    ASSERT_TRUE(playerDoneInRace) << "the input was not over before the race was";
    EXPECT_EQ(player->exitCode(), 0) << player->standardError().toStdString();
    EXPECT_GE(inRace.presses - atStart.presses, Clicks);
    EXPECT_GE(inRace.keyPresses - atStart.keyPresses, Keys);
    EXPECT_GE(inRace.wheels - atStart.wheels, 1);

    // A key tapped now is handled after anything still waiting from then.
    desktop.key(QStringLiteral("shift"));
    lookForEffects();
    EXPECT_TRUE(landed.isEmpty()) << "input during the race acted: "
                                  << landed.join(QStringLiteral(", ")).toStdString();

    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    for (const char *name : {"mnuFile", "mnuOmake", "mnuH"})
        EXPECT_FALSE(menu(name)->isVisible()) << name;
    EXPECT_FALSE(Desktop::inMenuBar(main()));
    EXPECT_EQ(game->sideWindows().gallery(), nullptr);
    EXPECT_EQ(game->sideWindows().help(), nullptr);
    EXPECT_EQ(game->sideWindows().version(), nullptr);
    EXPECT_EQ(QApplication::activeWindow(), main());

    // The race's result: 1-2 won at 3.5, paying 3,500 on the 1,000 staked.
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥3,500"));
    EXPECT_EQ(money(), QStringLiteral("￥12,000"));
    EXPECT_TRUE(chk(QStringLiteral("12"))->isChecked());
    EXPECT_TRUE(chk(QStringLiteral("34"))->isChecked());
    EXPECT_FALSE(unticked->isChecked());
    EXPECT_EQ(box->text(), QStringLiteral("￥1,000"));
    EXPECT_EQ(txt(QStringLiteral("34"))->text(), QStringLiteral("￥500"));
    // The next race is offered, not yet begun.
    EXPECT_TRUE(next->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(label("lbl12"), QStringLiteral("3.5"));

    // The player is let in again: Space on the focused button starts it.
    desktop.key(QStringLiteral("space"));
    EXPECT_TRUE(label("lblWinner").isEmpty());
    EXPECT_TRUE(chk(QStringLiteral("23"))->isEnabled());
    EXPECT_FALSE(chk(QStringLiteral("12"))->isChecked());
}

// The window manager's close button, clicked twice while the horses run:
// the requests wait for the end of the race and then ask once, with the
// result already shown; Cancel leaves the game as the race left it.
TEST_F(DesktopRace, CloseButtonDuringTheRaceAsksOnceWhenTheRaceIsOver)
{
    desktop.click(chk(QStringLiteral("12")));
    desktop.type(QStringLiteral("1000"));
    desktop.click(find<QPushButton>(QStringLiteral("cmdEndBet")));
    auto *start = find<QPushButton>(QStringLiteral("cmdStart"));
    ASSERT_TRUE(start->isEnabled());
    scriptRace(1, 2);

    const QStringList clicks = closeRequest(main(), 2);
    HostCommand *player = nullptr;
    bool playerDoneInRace = false;
    bool askedInRace = false;
    pacer.onStart = [&] {
        QTimer::singleShot(300, main(), [&] { player = desktop.xdotoolAsync(clicks); });
    };
    pacer.onFrame = [&] {
        askedInRace = askedInRace || !scriptedMessages.asked.isEmpty();
        playerDoneInRace = player && !player->running();
    };
    QString winnerWhenAsked;
    scriptedMessages.onAsk = [&](const ScriptedMessages::Question &) { winnerWhenAsked = label("lblWinner"); };
    scriptedMessages.answer(MessageService::Answer::Cancel);

    desktop.click(start); // returns once the race is over
    ASSERT_TRUE(playerDoneInRace) << "the clicks were not over before the race was";
    EXPECT_EQ(player->exitCode(), 0) << player->standardError().toStdString();
    EXPECT_FALSE(askedInRace) << "the close request was let through during the race";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !scriptedMessages.asked.isEmpty(); }, WaitMs))
        << "the held close request never asked";
    QTest::qWait(500); // time for a second question, which must not come
    ASSERT_EQ(scriptedMessages.asked.size(), 1);
    EXPECT_EQ(scriptedMessages.asked.front().text, QStringLiteral("ルミダを終了しますか？"));
    EXPECT_EQ(winnerWhenAsked, QStringLiteral("1-2"));

    EXPECT_TRUE(main()->isVisible());
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥3,500"));
    EXPECT_EQ(money(), QStringLiteral("￥12,500"));
    EXPECT_TRUE(find<QPushButton>(QStringLiteral("cmdNext"))->isEnabled());
}
