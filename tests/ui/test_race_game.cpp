// Races run through real clicks: the result, the payout, the ruin checks and
// the next race, checked against the phases of the main window.
#include "platform/FramePacer.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {
const char *const Pairs[] = {"12", "13", "14", "23", "24", "34"};
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
        for (const char *digits : Pairs) {
            EXPECT_TRUE(chk(digits)->isEnabled());
            EXPECT_FALSE(chk(digits)->isChecked());
            EXPECT_TRUE(txt(digits)->text().isEmpty());
            EXPECT_FALSE(txt(digits)->isEnabled());
        }
        EXPECT_TRUE(label("lblWinner").isEmpty());
        EXPECT_TRUE(label("lblHaitou").isEmpty());
        for (const char *name : {"imgAka", "imgCha", "imgKi", "imgShiro"})
            EXPECT_EQ(horse(name), 6840.0f);
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
        for (const char *digits : Pairs) {
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
    EXPECT_EQ(random.draws - drawsBefore, 636 * 4);
    EXPECT_EQ(random.reseeds - reseedsBefore, 636);
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
    EXPECT_EQ(label("lblHaitou"), QStringLiteral("￥3,500"));
    EXPECT_EQ(money(), QStringLiteral("￥12,000"));
    EXPECT_EQ(horse("imgCha"), 480.0f);
    EXPECT_EQ(horse("imgAka"), 6840.0f - 636 * 9);
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
    std::vector<std::array<int, 4>> steps(636, {10, 9, 9, 8});
    scriptSteps(steps);
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
    const auto &q = messages.asked[0];
    EXPECT_EQ(q.text, QStringLiteral("初めからやり直しますか？"));
    EXPECT_EQ(q.title, QStringLiteral("破産！！"));
    EXPECT_EQ(q.buttons, MessageService::Buttons::YesNo);
    EXPECT_EQ(q.icon, MessageService::Icon::Critical);
    EXPECT_EQ(q.defaultButton, 1);
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
    for (const char *digits : Pairs)
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

TEST_F(RaceTest, ThePacedRaceShutsThePlayerOutAndHoldsTheClose)
{
    open();
    stake("12", "100");
    closeBetting();
    scriptRace(1, 2);
    QMenu *omake = menu("mnuOmake");
    bool lockedDuringRace = false;
    pacer.onFrame = [&](int frame) {
        if (frame != 10)
            return;
        lockedDuringRace = !menu("mnuFile")->isEnabled() && !menu("mnuH")->isEnabled()
                           && omake->isEnabled() && !button("cmdStart")->isEnabled()
                           && !button("cmdNext")->isEnabled();
        // The player hammers the window: none of it may land.
        QTest::mouseClick(button("cmdEndBet"), Qt::LeftButton);
        QTest::keyClick(window.get(), Qt::Key_Space);
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        window->close();
        window->close();
    };
    messages.answer(MessageService::Answer::Cancel); // one confirmation, after the race
    startRace();
    EXPECT_TRUE(lockedDuringRace);
    EXPECT_EQ(pacer.frames, 636 / frmRumida::StepsPerFrame);
    EXPECT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(messages.asked[0].title, QStringLiteral("ルミダの終了"));
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
    expectSettled();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RaceTest, APacedRaceLastsAsLongAsItsFrames)
{
    DisplayPacer display;
    openWith(GameServices{messages, beep, random, display});
    closeBetting();
    scriptRace(1, 2); // 636 steps: 212 frames of 1/60 s
    QElapsedTimer clock;
    clock.start();
    startRace();
    const double seconds = double(clock.elapsed()) / 1000.0;
    const double expected = 636.0 / frmRumida::StepsPerFrame / 60.0;
    EXPECT_NEAR(seconds, expected, expected * 0.2);
    EXPECT_EQ(label("lblWinner"), QStringLiteral("1-2"));
}
