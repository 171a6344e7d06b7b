// The program's start: the splash window builds the main window hidden and
// hands over to it at its one tick.
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
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
// Counts the times a window is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget *window) { window->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        shows += event->type() == QEvent::Show;
        return false;
    }
};
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

    // The tick shows the main window and destroys the splash.
    ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }, 5000));
    EXPECT_TRUE(splash.isNull() || !splash->isVisible());
    QTest::qWait(0);
    EXPECT_TRUE(splash.isNull());
    EXPECT_EQ(counter.shows, 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(main()));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("cmdEndBet"));
    EXPECT_EQ(label("lblCurrent"), QStringLiteral("￥10,000"));

    // No second tick: hidden again, the main window is not shown anew.
    main()->hide();
    QTest::qWait(700);
    EXPECT_FALSE(main()->isVisible());
    EXPECT_EQ(counter.shows, 1);
    EXPECT_EQ(random.reseeds, 1);
}

TEST_F(StartupTest, TheSplashStaysThreeSeconds)
{
    QElapsedTimer clock;
    clock.start();
    QPointer<frmCopy> splash(&program.start());
    ASSERT_NE(main(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }, 10000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 3000);
    EXPECT_LT(elapsed, 6000);
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
