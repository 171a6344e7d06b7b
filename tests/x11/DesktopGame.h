// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/TextBox.h"
#include "platform/WindowFocus.h"
#include "tests/support/TestServices.h"
#include "tests/x11/Desktop.h"
#include "tests/x11/HostCommand.h"
#include "windows/Program.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The whole program (splash, main window, side windows) on the X server, its
// main window shown and active under the window manager. Each test picks the
// message and pacing services it needs.
class DesktopGame : public ::testing::Test {
protected:
    static constexpr int WaitMs = 20000;

    ScriptedMessages scriptedMessages;
    CountingBeep beep;
    ScriptedRandom random;
    CountingPacer noPacing;
    Desktop desktop;
    std::unique_ptr<Program> game;

    void startGame(MessageService &messages, FramePacer &pacer)
    {
        RUMIDA_NEEDS_DESKTOP();
        game = std::make_unique<Program>(GameServices{messages, beep, random, pacer});
        game->start(std::chrono::milliseconds(1));
        ASSERT_TRUE(QTest::qWaitFor([this] { return main() && main()->isVisible(); }, WaitMs));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main(), WaitMs));
        // Qt's Wayland platform cannot ask for activation, and its wait for
        // it there only waits for the window to show (with a warning): the
        // activation the compositor gives is waited for as the program sees it.
        if (QGuiApplication::platformName() != QLatin1String("wayland")) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(main(), WaitMs)) << "the window manager did not focus the game";
        }
        ASSERT_TRUE(waitActive(main())) << "the window manager did not focus the game";
    }

    void TearDown() override
    {
        EXPECT_FALSE(scriptedMessages.unexpected);
        game.reset();
    }

    frmRumida *main() const { return game ? game->builtMainWindow() : nullptr; }

    template <class T> T *find(const QString &name) const
    {
        T *control = main()->findChild<T *>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QCheckBox *chk(const QString &digits) const { return find<QCheckBox>(QStringLiteral("chk") + digits); }
    TextBox *txt(const QString &digits) const { return find<TextBox>(QStringLiteral("txt") + digits); }
    QString label(const char *name) const { return find<QLabel>(QLatin1String(name))->text(); }
    QString money() const { return label("lblCurrent"); }
    QMenu *menu(const char *name) const { return find<QMenu>(QLatin1String(name)); }

    // The control that holds the main window's focus as the game sees it.
    QWidget *ownFocus() const { return WindowFocus::of(main())->current(); }

    static bool waitActive(QWidget *window)
    {
        return Desktop::waitFor([window] { return QApplication::activeWindow() == window; }, WaitMs);
    }

    // A menu's title in the menu bar, clicked as a player does.
    void clickMenuTitle(QMenu *dropdown)
    {
        QMenuBar *bar = main()->menuBar();
        desktop.click(bar, bar->actionGeometry(dropdown->menuAction()).center());
    }
    // An item of an open dropdown.
    void clickMenuItem(QMenu *dropdown, const char *item)
    {
        auto *action = main()->findChild<QAction *>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        desktop.click(dropdown, dropdown->actionGeometry(action).center());
    }

    // Where openbox draws the close button of a window: the last button at
    // the right of the title bar (the pinned configuration's title layout).
    // The Clearlooks theme pads the title bar 3 pixels left and right and 2
    // above and below its label; a button is square, 2 pixels smaller than
    // the label, 1 pixel in from the padding.
    QPoint closeButton(QWidget *window)
    {
        const QMargins extents = desktop.frameExtents(window);
        const QRect frame = window->geometry().marginsAdded(extents);
        const int border = extents.left();
        const int labelHeight = extents.top() - 2 * border - 2 * 2;
        const int size = labelHeight - 2;
        const int right = frame.right() - border - 3 - 1;
        const int top = frame.top() + border + 2 + 1;
        return {right - size / 2, top + size / 2};
    }

    // The input steps of a close request by the desktop, `times` times 0.3 s
    // apart: a click on the title bar's close button on X11; on Wayland the
    // compositor's own request (sway draws no close button).
    QStringList closeRequest(QWidget *window, int times = 1)
    {
        QStringList steps;
        if (QGuiApplication::platformName() == QLatin1String("wayland")) {
            const QString id = Desktop::windowId(window);
            for (int i = 0; i < times; ++i)
                steps << (i ? QStringList{QStringLiteral("sleep"), QStringLiteral("0.3")} : QStringList())
                      << QStringLiteral("windowclose") << id;
            return steps;
        }
        steps << Desktop::pointAt(closeButton(window)) << QStringLiteral("click") << QStringLiteral("1");
        for (int i = 1; i < times; ++i)
            steps << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("click") << QStringLiteral("1");
        return steps;
    }

    // Closes a window that asks nothing with its title bar's close button. A
    // click that comes while the window manager is still settling the frame
    // of a window just moved (a loaded machine) can miss; a player clicks
    // again, and so does this, with the button's place read afresh.
    bool closeByCloseButton(QWidget *window)
    {
        QPointer<QWidget> target(window);
        auto gone = [&] { return !target || !target->isVisible(); };
        for (int attempt = 0; attempt < 3 && !gone(); ++attempt) {
            if (!desktop.xdotool(closeRequest(target)))
                return false;
            if (QTest::qWaitFor(gone, WaitMs / 3))
                return true;
        }
        return gone();
    }

    // Moves a side window to the left of the screen, clear of the main
    // window, as a player drags it aside (the side windows open centred on
    // the screen, over the main window's controls). Its title bar stays on
    // the screen, whether the window manager places the frame or the window
    // itself at the point asked.
    void moveAside(QWidget *window)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window, WaitMs));
        ASSERT_TRUE(desktop.xdotool({QStringLiteral("windowmove"), Desktop::windowId(window),
                                     QStringLiteral("10"), QStringLiteral("60")}));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !Desktop::placeOf(window).intersects(Desktop::placeOf(main())); }, WaitMs))
            << "the side window still covers the main window";
    }
};
