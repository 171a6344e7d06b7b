// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Races run through real clicks: the result, the payout, the ruin checks and
// the next race, checked against the phases of the main window.
#include "platform/FramePacer.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <chrono>
#include <cmath>

namespace {
constexpr float Odds3_5 = 0.25f; // draws 0.25: odds exactly 3.5
} // namespace

class RaceTest : public MainWindowTest {
protected:
    void stake(const char *digits, const QString &amount)
    {
        clickCheck(digits);
        type(amount);
        leaveBox();
    }
    void closeBetting() { click(button("cmdEndBet")); }
    // Opens the window and stakes all 10000 on "1-2" in a race that "3-4" wins;
    // the race itself is left to the test.
    void prepareRuinousRace()
    {
        open();
        stake("12", "10000");
        closeBetting();
        scriptRace(3, 4);
    }
    void startRace() { click(button("cmdStart")); }
    void nextRace() { click(button("cmdNext")); }

    QMenu *menu(const char *name) const { return find<QMenu>(QLatin1String(name)); }
    float horse(const char *name) const
    {
        return find<QWidget>(QLatin1String(name))->property("Left").toFloat();
    }

    void expectBettingOpen()
    {
        EXPECT_TRUE(button("cmdEndBet")->isEnabled());
        EXPECT_FALSE(button("cmdStart")->isEnabled());
        EXPECT_FALSE(button("cmdNext")->isEnabled());
        for (const char *digits : PairDigits) {
            EXPECT_TRUE(chk(digits)->isEnabled());
            EXPECT_FALSE(chk(digits)->isChecked());
            EXPECT_TRUE(txt(digits)->text().isEmpty());
            EXPECT_FALSE(txt(digits)->isEnabled());
        }
        EXPECT_TRUE(label("lblWinner").isEmpty());
        EXPECT_TRUE(label("lblHaitou").isEmpty());
        for (const char *name : {"imgAka", "imgCha", "imgKi", "imgShiro"})
            EXPECT_EQ(horse(name), rules::StartLeft);
    }
    void expectSettled()
    {
        EXPECT_FALSE(button("cmdEndBet")->isEnabled());
        EXPECT_FALSE(button("cmdStart")->isEnabled());
        EXPECT_TRUE(button("cmdNext")->isEnabled());
        EXPECT_EQ(focusName(), QStringLiteral("cmdNext"));
        EXPECT_TRUE(menu("mnuFile")->isEnabled());
        EXPECT_TRUE(menu("mnuH")->isEnabled());
        EXPECT_TRUE(menu("mnuOmake")->isEnabled());
        for (const char *digits : PairDigits) {
            EXPECT_FALSE(chk(digits)->isEnabled());
            EXPECT_FALSE(txt(digits)->isEnabled());
        }
    }
};

TEST_F(RaceTest, AGameOfSeveralRaces)
{
    open({Odds3_5, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f});

    // Race 1: 1000 on "1-2" wins at 3.5; 500 on "3-4" is lost.
    stake("12", "1000");
    stake("34", "500");
    closeBetting();
    EXPECT_EQ(money(), QStringLiteral("￥8,500"));
    scriptRace(2, 1);
    const int drawsBefore = random.draws;
    const int reseedsBefore = random.reseeds;
    startRace();
    EXPECT_EQ(random.draws - drawsBefore, rules::FewestSteps * 4);
    EXPECT_EQ(random.reseeds - reseedsBefore, rules::FewestSteps);
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥3,500"));
    EXPECT_EQ(money(), QStringLiteral("￥12,000"));
    EXPECT_EQ(horse("imgCha"), rules::StartLeft - rules::FewestSteps * 10);
    EXPECT_EQ(horse("imgAka"), rules::StartLeft - rules::FewestSteps * 9);
    EXPECT_TRUE(chk("12")->isChecked());
    EXPECT_EQ(txt("34")->text(), QStringLiteral("￥500"));
    expectSettled();

    // Next race: the stakes go, the money stays, new odds are drawn.
    random.script({0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f});
    nextRace();
    EXPECT_EQ(money(), QStringLiteral("￥12,000"));
    EXPECT_EQ(label("lbl12"), QStringLiteral("10"));
    expectBettingOpen();
    EXPECT_EQ(focusName(), QStringLiteral("cmdEndBet"));

    // Race 2: the winning pair was not bet on.
    stake("13", "2000");
    closeBetting();
    scriptRace(4, 3);
    startRace();
    EXPECT_EQ(label("lblWinner"), QStringLiteral("3-4"));
    EXPECT_TRUE(label("lblHaitou").isEmpty());
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    expectSettled();
    nextRace();
    expectBettingOpen();

    // Race 3: no bet at all, and a tie behind the winner names no pair.
    closeBetting();
    scriptSteps(std::vector<StepSizes>(rules::FewestSteps, {10, 9, 9, 8}));
    startRace();
    EXPECT_TRUE(label("lblWinner").isEmpty());
    EXPECT_TRUE(label("lblHaitou").isEmpty());
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    expectSettled();
}

TEST_F(RaceTest, PayoutsRoundHalfToEvenAndAZeroStakePaysZero)
{
    open({Odds3_5, Odds3_5, Odds3_5, 0.5f, 0.5f, 0.5f});
    stake("12", "3");  // 10.5 pays 10
    closeBetting();
    scriptRace(1, 2);
    startRace();
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥10"));
    EXPECT_EQ(money(), QStringLiteral("￥10,007"));

    random.script({Odds3_5, Odds3_5, Odds3_5, 0.5f, 0.5f, 0.5f});
    nextRace();
    stake("13", "5"); // 17.5 pays 18
    closeBetting();
    scriptRace(3, 1);
    startRace();
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥18"));
    EXPECT_EQ(money(), QStringLiteral("￥10,020"));

    nextRace();
    stake("23", "abc"); // ticked with a stake of 0
    closeBetting();
    scriptRace(3, 2);
    startRace();
    EXPECT_EQ(label("lblWinner"), QStringLiteral("2-3"));
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥0"));
    EXPECT_EQ(money(), QStringLiteral("￥10,020"));
}

TEST_F(RaceTest, RuinAfterTheRaceOffersAFreshStart)
{
    prepareRuinousRace();
    messages.answer(MessageService::Answer::Yes);
    startRace();
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(messages.asked[0],
              (ScriptedMessages::Question{QStringLiteral("初めからやり直しますか？"), QStringLiteral("破産！！"),
                                          MessageService::Buttons::YesNo, MessageService::Icon::Critical, 1}));
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    EXPECT_EQ(focusName(), QStringLiteral("cmdNext"));
    // Nothing else is reset until the next race.
    EXPECT_EQ(txt("12")->text(), QStringLiteral("￥10,000"));
    nextRace();
    EXPECT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    expectBettingOpen();
}

TEST_F(RaceTest, OneYenLeftIsNoRuin)
{
    open();
    stake("12", "9999");
    closeBetting();
    scriptRace(3, 4);
    startRace();
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_EQ(money(), QStringLiteral("￥1"));
    nextRace();
    EXPECT_TRUE(messages.asked.isEmpty());
    expectBettingOpen();
}

TEST_F(RaceTest, DecliningTheFreshStartThenCancellingTheQuitGoesOn)
{
    prepareRuinousRace();
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Cancel);
    startRace();
    EXPECT_EQ(messages.asked.size(), 2);
    EXPECT_EQ(messages.asked[1].title, QStringLiteral("ルミダの終了"));
    EXPECT_EQ(money(), QStringLiteral("￥0"));
    expectSettled();

    // The next race asks again; declined and cancelled again, the race is
    // prepared with the money still at 0.
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Cancel);
    nextRace();
    EXPECT_EQ(messages.asked.size(), 4);
    EXPECT_EQ(money(), QStringLiteral("￥0"));
    expectBettingOpen();

    // This time a fresh start is taken at the next race.
    closeBetting();
    scriptRace(1, 2);
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Cancel);
    startRace();
    messages.answer(MessageService::Answer::Yes);
    nextRace();
    EXPECT_EQ(money(), QStringLiteral("￥10,000"));
    expectBettingOpen();
}

TEST_F(RaceTest, DecliningTheFreshStartThenQuittingEndsAtOnce)
{
    prepareRuinousRace();
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Ok);
    QTimer::singleShot(0, window.get(), [this] { startRace(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window->isEnding());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(money(), QStringLiteral("￥0")) << "nothing ran after the answer";
}

TEST_F(RaceTest, QuittingFromTheNextRaceTouchesNothingMore)
{
    prepareRuinousRace();
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Cancel);
    startRace();
    const QString odds = label("lbl12");
    messages.answer(MessageService::Answer::No);
    messages.answer(MessageService::Answer::Ok);
    QTimer::singleShot(0, window.get(), [this] { nextRace(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(label("lbl12"), odds);
    EXPECT_EQ(txt("12")->text(), QStringLiteral("￥10,000"));
    EXPECT_TRUE(chk("12")->isChecked());
    EXPECT_EQ(label("lblWinner"), QStringLiteral("3-4"));
}

TEST_F(RaceTest, StakesFarOutsideThirtyTwoBitsLoseNothing)
{
    open({0.999f, 0.999f, 0.999f, 0.999f, 0.999f, 0.999f});
    for (const char *digits : PairDigits)
        stake(digits, "2147483647");
    closeBetting();
    // 10000 - 6 * 2147483647
    EXPECT_EQ(money(), QStringLiteral("-￥12,884,891,882"));
    scriptRace(4, 2);
    startRace();
    // odds 10.99 on 2147483647 pays far beyond 32 bits
    const auto paid = std::int64_t(std::nearbyint(double(window->purse().odds(5)) * 2147483647.0));
    EXPECT_GT(paid, std::int64_t(INT32_MAX));
    EXPECT_EQ(window->money(), 10000 - 6 * std::int64_t(2147483647) + paid);
    const std::int64_t before = window->money();
    nextRace();
    EXPECT_EQ(window->money(), before);

    // A negative stake far the other way, through a lost race and the next one.
    stake("12", "-2147483648");
    stake("13", "-2147483648");
    closeBetting();
    const std::int64_t staked = window->money();
    EXPECT_EQ(staked, before + 2 * std::int64_t(2147483648));
    scriptRace(4, 3);
    startRace();
    nextRace();
    EXPECT_EQ(window->money(), staked);
}

TEST_F(RaceTest, ALostStakeStaysLostThroughTheNextRace)
{
    open();
    stake("14", "500");
    clickCheck("24"); // ticked and left empty
    leaveBox();
    closeBetting();
    EXPECT_FALSE(chk("24")->isChecked());
    scriptRace(2, 3);
    startRace();
    EXPECT_EQ(money(), QStringLiteral("￥9,500"));
    nextRace();
    EXPECT_EQ(money(), QStringLiteral("￥9,500"));
    expectBettingOpen();
}

// ---- The player shut out during the race ----

namespace {
// Counts the wheel events that reach a control.
class WheelCounter : public QObject {
public:
    explicit WheelCounter(QWidget *control) { control->installEventFilter(this); }
    int wheels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        wheels += event->type() == QEvent::Wheel;
        return false;
    }
};
} // namespace

// What a player throws at the main window while the horses run. Each input is
// one that acts when it gets through: the control cases send the same inputs
// outside a race and see every one of them act.
class ShutOutTest : public RaceTest {
protected:
    // What one barrage did to the window.
    struct Landed {
        int menusOpened = 0;   // a menu of the menu bar popped up
        int sideWindows = 0;   // the gallery, help or version window was asked for
        bool menuBarTookKeys = false; // Alt put the menu bar in keyboard mode
        int wheels = 0;        // wheel events that reached the amount box
        QStringList before, after; // ticks, texts, money, results, buttons and focus
    };

    void SetUp() override
    {
        open({Odds3_5, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f});
        for (const char *name : {"mnuFile", "mnuOmake", "mnuH"})
            QObject::connect(menu(name), &QMenu::aboutToShow, window.get(),
                             [this] { ++menusOpened_; });
        for (auto request : {&frmRumida::galleryRequested, &frmRumida::helpRequested,
                             &frmRumida::versionRequested})
            QObject::connect(window.get(), request, window.get(), [this] { ++sideWindows_; });
        wheelCounter_ = std::make_unique<WheelCounter>(txt("12"));
    }

    // Everything a stray input could change, as text.
    QStringList state() const
    {
        QStringList s;
        for (const char *digits : PairDigits) {
            s << QStringLiteral("%1 ticked %2 enabled %3 text %4 enabled %5")
                     .arg(QLatin1String(digits))
                     .arg(chk(digits)->isChecked())
                     .arg(chk(digits)->isEnabled())
                     .arg(txt(digits)->text())
                     .arg(txt(digits)->isEnabled());
        }
        s << money() << label("lblWinner") << label("lblHaitou") << label("lbl12");
        for (const char *name : {"cmdEndBet", "cmdStart", "cmdNext"})
            s << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(button(name)->isEnabled());
        s << QStringLiteral("focus ") + focusName();
        return s;
    }

    // The keyboard's target, as on a desktop: an open menu, else the focused
    // control, else the active window.
    QWidget *keyTarget() const
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        if (QWidget *focused = QApplication::focusWidget())
            return focused;
        return window.get();
    }

    void pressKey(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(keyTarget(), k, mods);
    }

    // A menu the test opened leaves the offscreen platform's focus on the
    // hidden menu; a desktop gives it back to the window.
    void backToTheWindow()
    {
        if (QApplication::activeWindow() != window.get())
            reactivate();
    }

    // The barrage. During a race the buttons, check boxes and amount boxes
    // are all disabled and no control holds the focus; the おまけ title is
    // the one enabled control, so it takes the clicks, and the keys that
    // would act are the menu bar's: Alt takes it into keyboard mode on the
    // first title, Right moves on to おまけ, Down opens it on its item, Return
    // picks the item. A wheel over an amount box acts on nothing even when it
    // gets through (a one-line box does not scroll), so for it the measure is
    // whether it reaches the box.
    Landed hammer()
    {
        Landed landed;
        landed.before = state();
        const int menusBefore = menusOpened_;
        const int sideBefore = sideWindows_;
        const int wheelsBefore = wheelCounter_->wheels;

        // The mouse: the おまけ title, then its item if its menu opened.
        QMenuBar *bar = window->menuBar();
        QMenu *omake = menu("mnuOmake");
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                          bar->actionGeometry(omake->menuAction()).center());
        if (omake->isVisible()) {
            QTest::mouseClick(omake, Qt::LeftButton, Qt::NoModifier,
                              omake->actionGeometry(omake->actions().constFirst()).center());
        }
        backToTheWindow();

        // The keyboard, through the menu bar.
        pressKey(Qt::Key_Alt, Qt::AltModifier);
        landed.menuBarTookKeys = bar->activeAction() != nullptr;
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Return);
        backToTheWindow();

        // The wheel over an amount box.
        QLineEdit *box = txt("12");
        const QPointF at = QRectF(box->rect()).center();
        QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);

        landed.menusOpened = menusOpened_ - menusBefore;
        landed.sideWindows = sideWindows_ - sideBefore;
        landed.wheels = wheelCounter_->wheels - wheelsBefore;
        landed.after = state();
        return landed;
    }

    void expectEverythingActed(const Landed &landed)
    {
        EXPECT_EQ(landed.menusOpened, 2) << "the click and the keys each open おまけ";
        EXPECT_EQ(landed.sideWindows, 2) << "and each picks its item";
        EXPECT_TRUE(landed.menuBarTookKeys);
        EXPECT_EQ(landed.wheels, 1);
    }

    void expectNothingLanded(const Landed &landed)
    {
        EXPECT_EQ(landed.menusOpened, 0);
        EXPECT_EQ(landed.sideWindows, 0);
        EXPECT_FALSE(landed.menuBarTookKeys);
        EXPECT_EQ(landed.wheels, 0);
        EXPECT_EQ(landed.after, landed.before);
    }

    int menusOpened_ = 0;
    int sideWindows_ = 0;
    std::unique_ptr<WheelCounter> wheelCounter_;
};

TEST_F(ShutOutTest, TheBarrageActsOnTheWindowInTheStateOfARace)
{
    // The controls as a race leaves them, set by hand, with nobody keeping
    // the player out: the same inputs as during the race all act.
    stake("12", "100");
    closeBetting();
    button("cmdStart")->setEnabled(false);
    menu("mnuFile")->setEnabled(false);
    menu("mnuH")->setEnabled(false);
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    expectEverythingActed(hammer());
}

TEST_F(ShutOutTest, ThePacedRaceShutsThePlayerOutAndHoldsTheClose)
{
    stake("12", "100");
    closeBetting();
    scriptRace(1, 2);
    constexpr int Frames = rules::FewestSteps / frmRumida::StepsPerFrame;
    int hammered = 0;
    pacer.onFrame = [&](int frame) {
        // The first frame, one in the middle and the last, so a gate that
        // opens early or late is caught too.
        if (frame != 1 && frame != Frames / 2 && frame != Frames)
            return;
        ++hammered;
        SCOPED_TRACE(frame);
        EXPECT_FALSE(menu("mnuFile")->isEnabled());
        EXPECT_FALSE(menu("mnuH")->isEnabled());
        EXPECT_TRUE(menu("mnuOmake")->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), nullptr)
            << "a control holds the focus during the race: aim keys at it";
        expectNothingLanded(hammer());
        window->close();
        window->close();
        EXPECT_TRUE(messages.asked.isEmpty()) << "a close request answered during the race";
        EXPECT_TRUE(window->isVisible());
    };
    messages.answer(MessageService::Answer::Cancel); // one confirmation, after the race
    startRace();
    pacer.onFrame = nullptr;

    EXPECT_EQ(hammered, 3);
    EXPECT_EQ(pacer.frames, Frames);
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(messages.asked[0].title, QStringLiteral("ルミダの終了"));
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥350"));
    EXPECT_EQ(money(), QStringLiteral("￥10,250"));
    expectSettled();
    EXPECT_TRUE(window->isVisible());

    // After the race the same barrage lands, and the held closes are spent.
    expectEverythingActed(hammer());
    EXPECT_EQ(messages.asked.size(), 1);
}

// ---- Pacing, on a clock of the test's own ----

namespace {
using PaceClock = DisplayPacer::Clock;

// A clock that moves only when told to or when the pacer sleeps; each reading
// also moves it on by a microsecond, so a pacer that spun on the clock would
// finish, with its readings counted, instead of hanging the test.
struct TestClock {
    PaceClock::time_point now{std::chrono::hours(1000)};
    std::vector<PaceClock::time_point> sleeps; // the deadlines the pacer slept until
    int reads = 0;
    // Runs at each sleep, before the clock is moved on.
    std::function<void()> onSleep;

    DisplayPacer::Timing timing()
    {
        return {[this] {
                    ++reads;
                    const auto t = now;
                    now += std::chrono::microseconds(1);
                    return t;
                },
                [this](PaceClock::time_point deadline) {
                    sleeps.push_back(deadline);
                    if (onSleep)
                        onSleep();
                    now = std::max(now, deadline);
                }};
    }
};

double secondsBetween(PaceClock::time_point a, PaceClock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}
} // namespace

TEST(DisplayPacerTest, EachFrameProcessesEventsThenSleepsUntilItsDeadline)
{
    TestClock clock;
    DisplayPacer pacer(DisplayPacer::DisplayFrame, clock.timing());
    const auto started = clock.now;
    QObject context;
    pacer.start();
    for (int frame = 1; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        clock.now += std::chrono::milliseconds(frame % 2 ? 2 : 15); // the frame's own work
        bool delivered = false;
        QTimer::singleShot(0, &context, [&] { delivered = true; });
        const int readsBefore = clock.reads;
        const auto sleepsBefore = clock.sleeps.size();
        pacer.frame();
        EXPECT_TRUE(delivered) << "the frame answered no events";
        ASSERT_EQ(clock.sleeps.size(), sleepsBefore + 1) << "an early frame sleeps once";
        EXPECT_LE(clock.reads - readsBefore, 1) << "the pacer spins on the clock";
        // Deadlines on a fixed grid 1/60 s apart from the start, whatever the
        // work took: no drift from the time spent in each frame.
        EXPECT_NEAR(secondsBetween(started, clock.sleeps.back()), frame / 60.0, frame * 1e-6);
    }
}

TEST(DisplayPacerTest, ALateFrameGoesOnAtOnceAndTheNextCountsFromIt)
{
    TestClock clock;
    DisplayPacer pacer(DisplayPacer::DisplayFrame, clock.timing());
    pacer.start();
    pacer.frame();
    ASSERT_EQ(clock.sleeps.size(), 1u);

    // A frame whose work took three periods does not sleep ...
    clock.now += std::chrono::milliseconds(50);
    pacer.frame();
    EXPECT_EQ(clock.sleeps.size(), 1u);
    // ... and the frames after it are paced from it, not rushed through to
    // catch up with the missed deadlines.
    const auto resumed = clock.now;
    pacer.frame();
    pacer.frame();
    ASSERT_EQ(clock.sleeps.size(), 3u);
    EXPECT_NEAR(secondsBetween(resumed, clock.sleeps[1]), 1 / 60.0, 1e-5);
    EXPECT_NEAR(secondsBetween(clock.sleeps[1], clock.sleeps[2]), 1 / 60.0, 1e-6);
}

TEST_F(RaceTest, APacedRaceLastsAsLongAsItsFrames)
{
    // The game's own pacer in the window, on the test's clock: the shortest
    // race, 636 steps, is 212 frames, each processing events and then sleeping
    // until its deadline, so on that clock the race lasts 212/60 s.
    TestClock clock;
    DisplayPacer display(DisplayPacer::DisplayFrame, clock.timing());
    openWith(GameServices{messages, beep, random, display});
    closeBetting();
    scriptRace(1, 2);

    // What is posted while the pacer sleeps is handled in the next frame.
    bool posted = false, handled = true;
    int unanswered = 0;
    QObject context; // the last call, posted after the last frame, goes with the test
    clock.onSleep = [&] {
        unanswered += posted && !handled;
        posted = true;
        handled = false;
        QTimer::singleShot(0, &context, [&] { handled = true; });
    };
    const auto started = clock.now;
    startRace();

    constexpr int Frames = rules::FewestSteps / frmRumida::StepsPerFrame;
    ASSERT_EQ(clock.sleeps.size(), std::size_t(Frames));
    EXPECT_EQ(unanswered, 0);
    EXPECT_LE(clock.reads, Frames + 1) << "the pacer spins on the clock";
    EXPECT_NEAR(secondsBetween(started, clock.sleeps.back()), Frames / 60.0, 1e-3);
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
}
