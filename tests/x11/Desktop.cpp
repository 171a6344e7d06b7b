// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/x11/Desktop.h"

#include "tests/x11/HostCommand.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// The machine is shared with other test runs: a step may take a while.
constexpr int StepTimeoutMs = 20000;
} // namespace

Desktop::Desktop()
{
    qApp->installEventFilter(this);
}

Desktop::~Desktop()
{
    qApp->removeEventFilter(this);
    // Input still being sent would reach the next test's windows.
    for (HostCommand *command : findChildren<HostCommand *>())
        command->wait(StepTimeoutMs);
}

void Desktop::countFirst()
{
    // The filter installed last is asked first.
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool Desktop::eventFilter(QObject *watched, QEvent *event)
{
    // Qt hands each input event from the window system to a window first and
    // from there to a widget: counting at the window counts each X event once.
    if (!watched->isWindowType() || !event->spontaneous())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        ++seen_.presses;
        break;
    case QEvent::MouseButtonRelease:
        ++seen_.releases;
        break;
    case QEvent::KeyPress:
        ++seen_.keyPresses;
        break;
    case QEvent::KeyRelease:
        ++seen_.keyReleases;
        break;
    case QEvent::Wheel:
        ++seen_.wheels;
        break;
    default:
        break;
    }
    return false;
}

bool Desktop::xdotool(const QStringList &args)
{
    QByteArray error;
    if (!HostCommand::run(QStringLiteral("xdotool"), args, StepTimeoutMs, nullptr, &error)) {
        ADD_FAILURE() << "xdotool " << args.join(QLatin1Char(' ')).toStdString()
                      << " failed: " << error.toStdString();
        return false;
    }
    return true;
}

HostCommand *Desktop::xdotoolAsync(const QStringList &args)
{
    return new HostCommand(QStringLiteral("xdotool"), args, this);
}

bool Desktop::onDesktop()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows");
}

QStringList Desktop::pointAt(const QWidget *control, QPoint at)
{
    return pointAt(control->mapToGlobal(at));
}

QStringList Desktop::pointAt(QPoint global)
{
    // No --sync: the X server moves the pointer before it takes the click
    // that follows from the same connection, and xdotool's wait for the
    // move polls in steps of 30 ms.
    return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
}

QPoint Desktop::clickPoint(const QWidget *control)
{
    if (const auto *box = qobject_cast<const QCheckBox *>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    return control->rect().center();
}

bool Desktop::waitSeen(int Seen::*counter, int target, const char *what)
{
    if (waitFor([&] { return seen_.*counter >= target; }, StepTimeoutMs))
        return true;
    ADD_FAILURE() << "the program never received the " << what;
    return false;
}

void Desktop::click(const QWidget *control, int button)
{
    click(control, clickPoint(control), button);
}

void Desktop::click(const QWidget *control, QPoint at, int button)
{
    ASSERT_NE(control, nullptr);
    const int target = seen_.releases + 1;
    ASSERT_TRUE(xdotool(pointAt(control, at) << QStringLiteral("click") << QString::number(button)));
    waitSeen(&Seen::releases, target, "button release");
}

void Desktop::wheel(const QWidget *control)
{
    ASSERT_NE(control, nullptr);
    const int target = seen_.wheels + 1;
    // X reports a notch of the wheel as a click of button 4 (up).
    ASSERT_TRUE(xdotool(pointAt(control, control->rect().center()) << QStringLiteral("click")
                                                                    << QStringLiteral("4")));
    waitSeen(&Seen::wheels, target, "wheel notch");
}

void Desktop::key(const QString &keys, int releases)
{
    const int target = seen_.keyReleases + releases;
    ASSERT_TRUE(xdotool({QStringLiteral("key"), keys}));
    waitSeen(&Seen::keyReleases, target, "key release");
}

void Desktop::type(const QString &text)
{
    const int target = seen_.keyReleases + int(text.size());
    ASSERT_TRUE(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text}));
    waitSeen(&Seen::keyReleases, target, "typed keys");
}

QMargins Desktop::frameExtents(const QWidget *window)
{
    QMargins extents;
    const bool published = QTest::qWaitFor(
        [&] {
            QByteArray output;
            if (!HostCommand::run(QStringLiteral("xprop"),
                                  {QStringLiteral("-id"), HostCommand::x11Window(window),
                                   QStringLiteral("-notype"), QStringLiteral("_NET_FRAME_EXTENTS")},
                                  StepTimeoutMs, &output))
                return false;
            // "_NET_FRAME_EXTENTS = left, right, top, bottom"
            static const QRegularExpression pattern(
                QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
            const auto match = pattern.match(QString::fromLatin1(output));
            if (!match.hasMatch())
                return false;
            extents = QMargins(match.captured(1).toInt(), match.captured(3).toInt(),
                               match.captured(2).toInt(), match.captured(4).toInt());
            return true;
        },
        StepTimeoutMs);
    EXPECT_TRUE(published) << "the window manager published no frame for the window";
    return extents;
}

bool Desktop::clickScreen(QPoint global, int button)
{
    return xdotool(pointAt(global) << QStringLiteral("click") << QString::number(button));
}

bool Desktop::inMenuBar(const QWidget *window)
{
    const QWidget *focus = QApplication::focusWidget();
    return qobject_cast<const QMenuBar *>(focus) && focus->window() == window;
}
