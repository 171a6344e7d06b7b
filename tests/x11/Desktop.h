// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>

class HostCommand;
class QWidget;

// A desktop test begins with this. Off a desktop the Linux build skips the
// test (it is run through tests/x11/run-x11.sh); the Windows build only ever
// runs on Windows' own platform, where no desktop is a fault to report.
#ifdef Q_OS_WIN
#define RUMIDA_NEEDS_DESKTOP() \
    if (!Desktop::onDesktop()) \
    FAIL() << "not on Windows' own platform: QT_QPA_PLATFORM did not reach the program"
#else
#define RUMIDA_NEEDS_DESKTOP() \
    if (!Desktop::onDesktop()) \
    GTEST_SKIP() << "needs an X server with a window manager: run it through tests/x11/run-x11.sh"
#endif

// Real input on the X server the test runs on (xdotool), and what the program
// has received of it. Input goes through the X server and the window manager
// exactly as a player's does; the test then waits until Qt has delivered the
// events to its windows before it looks at the game.
class Desktop : public QObject {
    Q_OBJECT
public:
    // Input events as Qt hands them to its windows: one per X event, whatever
    // widget they end up at.
    struct Seen {
        int presses = 0;
        int releases = 0;
        int keyPresses = 0;
        int keyReleases = 0;
        int wheels = 0;
    };

    Desktop();
    ~Desktop() override;

    const Seen &seen() const { return seen_; }
    // Puts the counter in front of every other application event filter, so
    // it still sees input that a filter installed since then throws away.
    void countFirst();

    // Runs xdotool and waits for it to finish; a failure fails the test.
    bool xdotool(const QStringList &args);
    // Starts xdotool and returns at once; it runs while the event loop does.
    // The process belongs to the Desktop, which waits for it at its end.
    HostCommand *xdotoolAsync(const QStringList &args);

    // Whether the program runs on a real desktop: an X server (Linux), or
    // Windows' own windows (the Windows build under Wine, on an X server).
    static bool onDesktop();

    // The xdotool arguments that put the pointer on `at`, in `control`'s own
    // coordinates.
    static QStringList pointAt(const QWidget *control, QPoint at);
    static QStringList pointAt(QPoint global);
    // A top-level window as the input steps name it (windowmove), and its
    // place on the screen with the desktop's frame: what the X server tells
    // Qt, or on Wayland what the compositor shows (the client is never told).
    static QString windowId(const QWidget *window);
    static QRect placeOf(const QWidget *window);
    // Where a player clicks a control: a check box on its box, anything else
    // in its middle.
    static QPoint clickPoint(const QWidget *control);

    // Clicks and waits until the program has had the button's release.
    void click(const QWidget *control, int button = 1);
    void click(const QWidget *control, QPoint at, int button = 1);
    // One notch of the wheel (up) over the control, waited for.
    void wheel(const QWidget *control);
    // Taps a key or a chord ("alt", "Escape", "ctrl+v") and waits until the
    // program has had `releases` key releases (a chord gives one per key).
    void key(const QString &keys, int releases = 1);
    // Types the text one key at a time and waits for every release.
    void type(const QString &text);

    // The window manager's frame around a top-level window, from the extents
    // it publishes on the window.
    QMargins frameExtents(const QWidget *window);
    // Clicks at a point of the screen that the program does not receive (the
    // window manager's own decorations).
    bool clickScreen(QPoint global, int button = 1);

    // Whether Qt's keyboard focus is in `window`'s menu bar.
    static bool inMenuBar(const QWidget *window);

    // Waits until `done` holds, handling the program's events meanwhile.
    // Unlike QTest::qWaitFor it naps for no fixed time between looks: it
    // looks again as soon as events have come and been handled.
    template <class Done> static bool waitFor(Done done, int timeoutMs)
    {
        if (done())
            return true;
        const QDeadlineTimer deadline(timeoutMs);
        QTimer wake; // for the deadline, should nothing else come
        wake.start(50);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (done())
                return true;
        }
        return done();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // xdotool on X11; on a Wayland session a program that takes the same
    // steps (tests/wayland/wl-input.sh).
    static QString inputProgram();
    bool waitSeen(int Seen::*counter, int target, const char *what);

    Seen seen_;
};
