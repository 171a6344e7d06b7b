// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Nothing piles up over a long session: side windows opened and closed many
// times, races run one after another. Leaks are LeakSanitizer's to find in
// the sanitizer build; here the live widgets and resident memory must settle.
#include "bench/ProcessStats.h"
#include "tests/support/MainWindowFixture.h"
#include "windows/SideWindows.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>

namespace {
// AddressSanitizer keeps freed memory in quarantine, so resident memory
// only means something in the plain build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MeasuresMemory = false;
#else
constexpr bool MeasuresMemory = true;
#endif

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
} // namespace

class LifetimeTest : public MainWindowTest {
protected:
    SideWindows sideWindows;

    void SetUp() override
    {
        open();
        sideWindows.followMenusOf(*window);
    }

    void trigger(const char *actionName) { window->findChild<QAction *>(QLatin1String(actionName))->trigger(); }

    // Opens each side window from its menu item and closes it again: the
    // gallery and help with their 戻る button, the version window by its close box.
    void sideWindowRound()
    {
        trigger("mnuZelko");
        trigger("mnuHow");
        trigger("mnuVer");
        ASSERT_NE(sideWindows.gallery(), nullptr);
        ASSERT_NE(sideWindows.help(), nullptr);
        ASSERT_NE(sideWindows.version(), nullptr);
        QTest::mouseClick(sideWindows.gallery()->findChild<QWidget *>(QStringLiteral("cmdNextPic")), Qt::LeftButton);
        QTest::mouseClick(sideWindows.gallery()->findChild<QWidget *>(QStringLiteral("Command1")), Qt::LeftButton);
        QTest::mouseClick(sideWindows.help()->findChild<QWidget *>(QStringLiteral("Command1")), Qt::LeftButton);
        sideWindows.version()->close();
        flushDeletes();
        ASSERT_EQ(sideWindows.gallery(), nullptr);
        ASSERT_EQ(sideWindows.help(), nullptr);
        ASSERT_EQ(sideWindows.version(), nullptr);
    }

    void raceRound()
    {
        click(button("cmdEndBet"));
        click(button("cmdStart"));
        ASSERT_TRUE(button("cmdNext")->isEnabled());
        click(button("cmdNext"));
        ASSERT_TRUE(button("cmdEndBet")->isEnabled());
    }
};

TEST_F(LifetimeTest, SideWindowsAndRacesLeaveNothingBehind)
{
    constexpr int WindowRounds = 500;
    constexpr int Races = 200;
    qsizetype widgetsAfterWarmUp = 0;
    long memoryAfterWarmUp = 0;
    for (int round = 0; round < WindowRounds; ++round) {
        sideWindowRound();
        if (round < Races)
            raceRound();
        if (HasFatalFailure())
            return;
        if (round == 9) {
            widgetsAfterWarmUp = QApplication::allWidgets().size();
            memoryAfterWarmUp = bench::residentKilobytes();
        }
    }
    flushDeletes();
    EXPECT_EQ(QApplication::allWidgets().size(), widgetsAfterWarmUp);
    if (MeasuresMemory) {
        const long growth = bench::residentKilobytes() - memoryAfterWarmUp;
        std::printf("resident memory after warm-up %ld KiB, growth %ld KiB\n", memoryAfterWarmUp, growth);
        EXPECT_LT(growth, 1024); // 1 MiB
    }
}
