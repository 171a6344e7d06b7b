// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The game's windows as a Wayland compositor shows them: the counterpart of
// the X11 taskbar test. A Wayland client cannot place its windows (the game
// asks for the middle of the screen, the compositor decides: sway puts a new
// floating window there), and it cannot keep a window out of the taskbar
// (every toplevel is listed). What holds: each window shows under its own
// title at its own client size, in the middle of the output, and each opening
// of a side window is a window of its own, placed again.
#include "tests/wayland/Sway.h"
#include "tests/x11/DesktopGame.h"

#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QPointer>
#include <algorithm>
#include <cstdlib>

class WaylandWindows : public DesktopGame {
protected:
    // The window once sway lays it out.
    Sway::Window shown(QWidget *window)
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window, WaitMs)) << window->objectName().toStdString();
        std::optional<Sway::Window> found;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (found = Sway::find(window->windowTitle())).has_value(); }, WaitMs))
            << "sway shows no window titled " << window->windowTitle().toStdString();
        return found.value_or(Sway::Window{});
    }

    Sway::Window expectWholeInTheMiddle(QWidget *window)
    {
        SCOPED_TRACE(window->objectName().toStdString());
        Sway::Window place = shown(window);
        EXPECT_EQ(place.content.size(), window->size()) << "the client area is not shown at its own size";
        // sway centres the window's body (the surface in its border) and sets
        // the title bar above it: the middle of the output lies between the
        // middle of the body and that of the whole frame, a pixel either way
        // for an odd size. A window just shown may still be settling.
        const QPoint middle = Sway::output().center();
        auto centred = [&] {
            const int top = std::min(place.content.center().y(), place.frame.center().y()) - 1;
            const int bottom = std::max(place.content.center().y(), place.frame.center().y()) + 1;
            return std::abs(place.frame.center().x() - middle.x()) <= 1 && middle.y() >= top && middle.y() <= bottom;
        };
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                place = Sway::find(window->windowTitle()).value_or(place);
                return centred();
            },
            WaitMs))
            << "the window is not in the middle of the output " << middle.x() << ", " << middle.y() << ": body at "
            << place.content.center().x() << ", " << place.content.center().y() << ", frame at "
            << place.frame.center().x() << ", " << place.frame.center().y();
        return place;
    }
};

TEST_F(WaylandWindows, EveryWindowShowsWholeInTheMiddleAndEachOpeningIsAWindowOfItsOwn)
{
    RUMIDA_NEEDS_DESKTOP();
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        GTEST_SKIP() << "reads the windows from sway: run it through tests/wayland/run-wayland.sh";
    game = std::make_unique<Program>(GameServices{scriptedMessages, beep, random, noPacing});
    // The splash stays up until it has been read, then hands over at once.
    frmCopy &splash = game->start(std::chrono::minutes(1));
    expectWholeInTheMiddle(&splash);
    splash.close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return main() && main()->isVisible(); }, WaitMs));
    expectWholeInTheMiddle(main());

    game->sideWindows().openGallery();
    expectWholeInTheMiddle(game->sideWindows().gallery());
    game->sideWindows().openHelp();
    const qint64 firstHelp = expectWholeInTheMiddle(game->sideWindows().help()).id;
    game->sideWindows().openVersion();
    expectWholeInTheMiddle(game->sideWindows().version());
    // Every window of the program is a toplevel of its own in sway's tree.
    EXPECT_EQ(Sway::windows().size(), 4);

    // Closed by the compositor's close request, the help window is gone;
    // opened again it is a new window, in the middle again.
    QPointer<frmHelp> closed = game->sideWindows().help();
    const QString title = closed->windowTitle();
    ASSERT_TRUE(desktop.xdotool(closeRequest(closed)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }, WaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Sway::find(title); }, WaitMs)) << "sway still shows the help window";
    game->sideWindows().openHelp();
    EXPECT_NE(expectWholeInTheMiddle(game->sideWindows().help()).id, firstHelp);
}
