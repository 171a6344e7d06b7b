// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/x11/Desktop.h"

#include "tests/x11/HostCommand.h"
#ifdef RUMIDA_WAYLAND_DESKTOP
#include "tests/wayland/Sway.h"
#endif

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

QString Desktop::inputProgram()
{
#ifdef RUMIDA_WAYLAND_DESKTOP
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return qEnvironmentVariable("RUMIDA_WAYLAND_INPUT", QStringLiteral("wl-input.sh"));
#endif
    return QStringLiteral("xdotool");
}

bool Desktop::xdotool(const QStringList &args)
{
    QByteArray error;
#ifdef RUMIDA_WAYLAND_DESKTOP
    // A Wayland compositor waits for its clients to answer (a window's new
    // state is applied once the client has acknowledged it): the program's
    // events go on being handled while the input is sent.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        HostCommand command(inputProgram(), args);
        if (QTest::qWaitFor([&] { return !command.running(); }, StepTimeoutMs) && command.exitCode() == 0)
            return true;
        ADD_FAILURE() << "wl-input.sh " << args.join(QLatin1Char(' ')).toStdString()
                      << " failed: " << command.standardError().toStdString();
        return false;
    }
#endif
    if (!HostCommand::run(inputProgram(), args, StepTimeoutMs, nullptr, &error)) {
        ADD_FAILURE() << "xdotool " << args.join(QLatin1Char(' ')).toStdString()
                      << " failed: " << error.toStdString();
        return false;
    }
    return true;
}

HostCommand *Desktop::xdotoolAsync(const QStringList &args)
{
    return new HostCommand(inputProgram(), args, this);
}

bool Desktop::onDesktop()
{
    const QString platform = QGuiApplication::platformName();
#ifdef RUMIDA_WAYLAND_DESKTOP
    if (platform == QLatin1String("wayland"))
        return true;
#endif
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows");
}

QStringList Desktop::pointAt(const QWidget *control, QPoint at)
{
#ifdef RUMIDA_WAYLAND_DESKTOP
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // The pointer is put there now, and the step repeats it: sway moves
        // its pointer at once, and QCursor::pos() knows nothing there.
        const QPoint global = Sway::pointerTo(control, at);
        return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
    }
#endif
    return pointAt(control->mapToGlobal(at));
}

QString Desktop::windowId(const QWidget *window)
{
#ifdef RUMIDA_WAYLAND_DESKTOP
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        const auto shown = Sway::find(window->windowTitle());
        EXPECT_TRUE(shown) << "sway shows no window titled " << window->windowTitle().toStdString();
        return shown ? QString::number(shown->id) : QString();
    }
#endif
    return HostCommand::x11Window(window);
}

QRect Desktop::placeOf(const QWidget *window)
{
#ifdef RUMIDA_WAYLAND_DESKTOP
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        const auto shown = Sway::find(window->windowTitle());
        return shown ? shown->frame : QRect();
    }
#endif
    return window->frameGeometry();
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
