// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Which windows a taskbar lists, read as a taskbar reads it: the window
// manager's state and type of each window and whether it stands for another
// (xprop). The splash, the main window and the gallery are listed; the help
// and version windows are not: they ask to be left out, and they are owned by
// a hidden window (what keeps them out of the Windows taskbar).
#include "tests/x11/DesktopGame.h"

#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include "windows/frmZelko.h"

#include <QPointer>
#include <QRegularExpression>
#include <QWindow>
#include <iostream>

namespace {
// The machine is shared with other test runs: xprop may take a while.
constexpr int XpropMs = 20000;

// What a taskbar reads of a window.
struct TaskbarView {
    QString lines; // xprop's own lines, for the report
    QStringList states;
    QStringList types;
    bool transient = false;
    WId transientFor = 0;
};

TaskbarView taskbarView(const QWidget *window)
{
    QByteArray output;
    EXPECT_TRUE(HostCommand::run(QStringLiteral("xprop"),
                                 {QStringLiteral("-id"), HostCommand::x11Window(window),
                                  QStringLiteral("_NET_WM_STATE"), QStringLiteral("_NET_WM_WINDOW_TYPE"),
                                  QStringLiteral("WM_TRANSIENT_FOR")},
                                 XpropMs, &output));
    TaskbarView view;
    view.lines = QString::fromUtf8(output).trimmed();
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_..."
    static const QRegularExpression list(QStringLiteral("^(\\w+)\\(ATOM\\) = (.*)$"),
                                         QRegularExpression::MultilineOption);
    for (auto match = list.globalMatch(view.lines); match.hasNext();) {
        const auto found = match.next();
        const QStringList atoms = found.captured(2).split(QStringLiteral(", "));
        if (found.captured(1) == QLatin1String("_NET_WM_STATE"))
            view.states = atoms;
        else if (found.captured(1) == QLatin1String("_NET_WM_WINDOW_TYPE"))
            view.types = atoms;
    }
    // "WM_TRANSIENT_FOR(WINDOW): window id # 0x40001c"
    static const QRegularExpression owner(QStringLiteral("WM_TRANSIENT_FOR\\(WINDOW\\): window id # 0x([0-9a-f]+)"));
    const auto match = owner.match(view.lines);
    view.transient = match.hasMatch();
    if (view.transient)
        view.transientFor = WId(match.captured(1).toULongLong(nullptr, 16));
    return view;
}

bool skipsTaskbar(const TaskbarView &view)
{
    return view.states.contains(QLatin1String("_NET_WM_STATE_SKIP_TASKBAR"));
}

// The kinds of window a taskbar never lists (docks, menus, utility windows...).
bool ofUnlistedType(const TaskbarView &view)
{
    static const QStringList unlisted{
        QStringLiteral("_NET_WM_WINDOW_TYPE_DESKTOP"), QStringLiteral("_NET_WM_WINDOW_TYPE_DOCK"),
        QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLBAR"), QStringLiteral("_NET_WM_WINDOW_TYPE_MENU"),
        QStringLiteral("_NET_WM_WINDOW_TYPE_UTILITY"), QStringLiteral("_NET_WM_WINDOW_TYPE_SPLASH")};
    for (const QString &type : view.types) {
        if (unlisted.contains(type))
            return true;
    }
    return false;
}
} // namespace

class DesktopTaskbar : public DesktopGame {
protected:
    // Reads a shown window once the window manager has taken it on (it
    // publishes the window's frame then) and prints what was read.
    TaskbarView read(QWidget *window)
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window, WaitMs)) << window->objectName().toStdString();
        desktop.frameExtents(window);
        TaskbarView view = taskbarView(window);
        std::cout << window->objectName().toStdString() << " (" << window->windowTitle().toStdString()
                  << "):\n" << view.lines.toStdString() << "\n";
        return view;
    }

    void expectListed(QWidget *window)
    {
        const TaskbarView view = read(window);
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_FALSE(skipsTaskbar(view));
        EXPECT_FALSE(view.transient) << "a window that stands for another is left out of taskbars";
        EXPECT_TRUE(view.types.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_NORMAL")));
        EXPECT_FALSE(ofUnlistedType(view));
    }

    void expectLeftOut(QWidget *window)
    {
        const TaskbarView view = read(window);
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_TRUE(skipsTaskbar(view));
        // Owned by a window that never shows, as on Windows.
        const QWindow *owner = window->windowHandle()->transientParent();
        ASSERT_NE(owner, nullptr);
        EXPECT_FALSE(owner->isVisible());
#ifdef Q_OS_WIN
        // Windows keeps the owner itself; Wine maps an owned window to one
        // the taskbar skips, whatever X window, if any, stands for the owner.
        EXPECT_EQ(GetWindow(reinterpret_cast<HWND>(window->winId()), GW_OWNER),
                  reinterpret_cast<HWND>(owner->winId()));
#else
        EXPECT_EQ(view.transientFor, owner->winId());
#endif
    }
};

TEST_F(DesktopTaskbar, SplashMainAndGalleryAreListedHelpAndVersionAreNot)
{
    RUMIDA_NEEDS_DESKTOP();
    game = std::make_unique<Program>(GameServices{scriptedMessages, beep, random, noPacing});
    // The splash stays up until it has been read, then hands over at once.
    frmCopy &splash = game->start(std::chrono::minutes(1));
    expectListed(&splash);
    splash.close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return main() && main()->isVisible(); }, WaitMs));
    expectListed(main());

    game->sideWindows().openGallery();
    expectListed(game->sideWindows().gallery());
    game->sideWindows().openHelp();
    expectLeftOut(game->sideWindows().help());
    game->sideWindows().openVersion();
    expectLeftOut(game->sideWindows().version());

    // Each opening is a window of its own, and is left out again.
    QPointer<frmHelp> closed = game->sideWindows().help();
    closed->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }, WaitMs));
    game->sideWindows().openHelp();
    expectLeftOut(game->sideWindows().help());
}
