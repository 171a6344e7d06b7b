// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The program's start: the splash window builds the main window hidden and
// hands over to it at its one tick.
#include "platform/PictureBox.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestServices.h"
#include "windows/Program.h"
#include "windows/frmCopy.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace std::chrono_literals;

namespace {
// Counts the times a window is shown, with a check to run at each.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget *window, std::function<void()> onShow = {})
        : onShow_(std::move(onShow))
    {
        window->installEventFilter(this);
    }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            ++shows;
            if (onShow_)
                onShow_();
        }
        return false;
    }

private:
    std::function<void()> onShow_;
};

// Long enough for any machine: a wait that ends sooner than this is not a
// measured time, only a guard against a hand-over that never comes.
constexpr int HangGuard = 60000;
} // namespace

class StartupTest : public ::testing::Test, protected ScriptedProgram {
protected:

    frmRumida *main() const { return program.builtMainWindow(); }
    QString label(const char *name) const
    {
        auto *label = main()->findChild<QLabel *>(QLatin1String(name));
        EXPECT_NE(label, nullptr) << name;
        return label ? label->text() : QString();
    }
};

TEST_F(StartupTest, SplashLoadsTheMainWindowHiddenAndHandsOverAtItsTick)
{
    random.script({0.45f, 0.0f, 0.9f, 0.2f, 0.5f, 0.7f});
    QPointer<frmCopy> splash(&program.start(1000ms));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));

    // The main window's load step has run while it stays hidden.
    ASSERT_NE(main(), nullptr);
    ShowCounter counter(main());
    EXPECT_FALSE(main()->isVisible());
    EXPECT_EQ(label("lblCurrent"), QStringLiteral("￥10,000"));
    EXPECT_EQ(label("lbl12"), QStringLiteral("5.5"));
    EXPECT_EQ(label("lbl34"), QStringLiteral("8"));
    EXPECT_EQ(random.reseeds, 1);

    EXPECT_EQ(splash->windowTitle(), QStringLiteral("Form1"));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->size(), QSize(337, 278));
    EXPECT_TRUE(splash->windowIcon().isNull());
    auto *timer = splash->findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());

    // Clicks and keys on the splash change nothing.
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseDClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_F4})
        QTest::keyClick(splash, key);
    QTest::keyClick(splash, Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(main()->isVisible());
    EXPECT_TRUE(timer->isActive());

    // The tick shows the main window and destroys the splash. (The wait's
    // limit only keeps a broken hand-over from hanging the test.)
    const QPointer<QTimer> watchedTimer(timer);
    ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }, HangGuard));
    EXPECT_TRUE(splash.isNull() || !splash->isVisible());
    QTest::qWait(0);
    EXPECT_TRUE(splash.isNull());
    EXPECT_EQ(counter.shows, 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(main()));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("cmdEndBet"));
    EXPECT_EQ(label("lblCurrent"), QStringLiteral("￥10,000"));

    // No second tick: the timer went with the splash.
    EXPECT_TRUE(watchedTimer.isNull());
    EXPECT_EQ(random.reseeds, 1);
}

// How late after three seconds the tick comes is the machine's business; what
// the game controls is that the hand-over is that tick and nothing before it.
TEST_F(StartupTest, TheSplashStaysThreeSeconds)
{
    QElapsedTimer clock;
    clock.start();
    QPointer<frmCopy> splash(&program.start());
    ASSERT_NE(main(), nullptr);
    auto *timer = splash->findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    const QPointer<QTimer> watchedTimer(timer);
    // One tick of a precise timer, which never fires before its interval (a
    // coarse one may, by up to 5 %).
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(timer->intervalAsDuration(), 3000ms);

    // Whenever the main window is shown, the timer must have ticked already
    // (a single-shot timer stops as it fires) ...
    ShowCounter counter(main(), [&] {
        EXPECT_TRUE(watchedTimer.isNull() || !watchedTimer->isActive())
            << "the main window shown before the splash's tick";
        EXPECT_GE(clock.elapsed(), 3000);
    });
    // ... and by the end of the tick's own handler (connected first, so it
    // runs before this) the main window is up.
    bool shownByTheTick = false;
    QObject::connect(timer, &QTimer::timeout, timer, [&] { shownByTheTick = main()->isVisible(); });

    // The wait's limit only keeps a broken hand-over from hanging the test.
    ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }, HangGuard));
    EXPECT_TRUE(shownByTheTick);
    EXPECT_EQ(counter.shows, 1);
    QTest::qWait(0);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(StartupTest, ClosingTheSplashEarlyShowsTheMainWindowAtOnce)
{
    QPointer<frmCopy> splash(&program.start(1h));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    ShowCounter counter(main());
    auto *timer = splash->findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    const QPointer<QTimer> watchedTimer(timer);

    // A close request from the desktop (Alt+F4, the taskbar).
    ASSERT_NE(splash->windowHandle(), nullptr);
    splash->windowHandle()->close();
    EXPECT_TRUE(main()->isVisible());
    EXPECT_TRUE(watchedTimer.isNull() || !watchedTimer->isActive());
    QTest::qWait(0);
    EXPECT_TRUE(splash.isNull());
    EXPECT_TRUE(watchedTimer.isNull());
    EXPECT_EQ(counter.shows, 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(main()));
    EXPECT_EQ(label("lblCurrent"), QStringLiteral("￥10,000"));
}

TEST_F(StartupTest, MenuPicksOfTheMainWindowReachTheSideWindows)
{
    // The splash connects the main window's side-window picks to their openers.
    program.start(1ms);
    ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }));
    for (const char *item : {"mnuZelko", "mnuHow", "mnuVer"}) {
        auto *action = main()->findChild<QAction *>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    EXPECT_NE(program.sideWindows().gallery(), nullptr);
    EXPECT_NE(program.sideWindows().help(), nullptr);
    EXPECT_NE(program.sideWindows().version(), nullptr);
}

// The main window is built in two parts: the controls and the load step before
// the splash shows, the pictures and the fitting of the controls to their
// fonts once the card has painted, while it is still up.
TEST_F(StartupTest, TheMainWindowIsFinishedBehindTheSplashAfterItsFirstPaint)
{
    QPointer<frmCopy> splash(&program.start(1h));
    ASSERT_NE(main(), nullptr);
    auto *course = main()->findChild<PictureBackground *>(QStringLiteral("client"));
    ASSERT_NE(course, nullptr);
    EXPECT_TRUE(course->picture().isNull()) << "decoded before the splash could show";

    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !course->picture().isNull(); }, HangGuard));
    EXPECT_FALSE(main()->isVisible());
    EXPECT_FALSE(main()->windowIcon().isNull());
    for (const char *name : {"imgAka", "imgCha", "imgKi", "imgShiro"}) {
        auto *horse = main()->findChild<PictureBox *>(QLatin1String(name));
        ASSERT_NE(horse, nullptr) << name;
        EXPECT_FALSE(horse->picture().isNull()) << name;
        EXPECT_EQ(horse->size(), QSize(40, 40)) << name;
    }
    auto *money = main()->findChild<QLabel *>(QStringLiteral("lblCurrent"));
    EXPECT_GE(money->width(), money->sizeHint().width());
}

// Shown before the splash has painted (closed at once), the main window is
// finished before it appears.
TEST_F(StartupTest, AMainWindowShownEarlyIsFinishedBeforeItAppears)
{
    QPointer<frmCopy> splash(&program.start(1h));
    bool finishedWhenShown = false;
    ShowCounter counter(main(), [&] {
        auto *course = main()->findChild<PictureBackground *>(QStringLiteral("client"));
        auto *odds = main()->findChild<QLabel *>(QStringLiteral("lbl12"));
        finishedWhenShown = course && !course->picture().isNull() && !main()->windowIcon().isNull()
                            && odds->width() > odds->fontMetrics().horizontalAdvance(QStringLiteral("10.88888"));
    });
    splash->close();
    EXPECT_EQ(counter.shows, 1);
    EXPECT_TRUE(finishedWhenShown);
}
