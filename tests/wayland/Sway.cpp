// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/wayland/Sway.h"

#include "tests/x11/HostCommand.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSet>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
// The machine is shared with other test runs: swaymsg may take a while.
constexpr int SwaymsgMs = 20000;

QJsonObject tree(const char *type)
{
    QByteArray output;
    QByteArray error;
    if (!HostCommand::run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QLatin1String(type)},
                          SwaymsgMs, &output, &error)) {
        ADD_FAILURE() << "swaymsg -t " << type << " failed: " << error.toStdString();
        return {};
    }
    const QJsonDocument document = QJsonDocument::fromJson(output);
    return document.isArray() ? QJsonObject{{QStringLiteral("nodes"), document.array()}} : document.object();
}

QRect rectOf(const QJsonValue &value)
{
    const QJsonObject rect = value.toObject();
    return {rect[QLatin1String("x")].toInt(), rect[QLatin1String("y")].toInt(),
            rect[QLatin1String("width")].toInt(), rect[QLatin1String("height")].toInt()};
}

void collect(const QJsonObject &node, QList<Sway::Window> &found)
{
    if (node[QLatin1String("pid")].toInteger() == QCoreApplication::applicationPid()) {
        Sway::Window window;
        window.id = node[QLatin1String("id")].toInteger();
        window.title = node[QLatin1String("name")].toString();
        // A floating container's rect is its body (the surface with its
        // border), the title bar (deco_rect, in the output's coordinates for
        // a floating container) stands above it; window_rect is the surface's
        // place inside the body.
        const QRect body = rectOf(node[QLatin1String("rect")]);
        window.content = rectOf(node[QLatin1String("window_rect")]).translated(body.topLeft());
        const QRect title = rectOf(node[QLatin1String("deco_rect")]);
        window.frame = title.isEmpty() ? body : body.united(title);
        window.focused = node[QLatin1String("focused")].toBool();
        found << window;
    }
    for (const char *children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue &child : node[QLatin1String(children)].toArray())
            collect(child.toObject(), found);
    }
}
} // namespace

QList<Sway::Window> Sway::windows()
{
    QList<Window> found;
    collect(tree("get_tree"), found);
    return found;
}

std::optional<Sway::Window> Sway::find(const QString &title)
{
    for (const Window &window : windows()) {
        if (window.title == title)
            return window;
    }
    return std::nullopt;
}

QRect Sway::output()
{
    for (const QJsonValue &output : tree("get_outputs")[QLatin1String("nodes")].toArray()) {
        if (output[QLatin1String("active")].toBool())
            return rectOf(output[QLatin1String("rect")]);
    }
    ADD_FAILURE() << "sway has no active output";
    return {};
}

const QWidget *Sway::laidOutWindow(const QWidget *widget)
{
    const QWidget *window = widget->window();
    // A popup is an xdg popup placed against the window it opens from (its
    // transient parent); the compositor lists only that window.
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

QPoint Sway::globalPoint(const QWidget *control, QPoint at)
{
    const QWidget *window = laidOutWindow(control);
    // Qt places a popup against its parent window by the difference of the
    // two windows' geometries, in Qt's own global coordinates: that
    // difference holds on the screen too. On Wayland Qt puts every toplevel
    // window at 0, 0 of those coordinates (whatever a widget's own geometry
    // says), so it is the windows' geometries, not the widgets', that count.
    const QPoint inWindow = control->mapTo(control->window(), at)
                            + control->window()->windowHandle()->geometry().topLeft()
                            - window->windowHandle()->geometry().topLeft();
    std::optional<Window> shown;
    if (!QTest::qWaitFor([&] { return (shown = find(window->windowTitle())).has_value(); }, SwaymsgMs)) {
        ADD_FAILURE() << "sway shows no window titled " << window->windowTitle().toStdString();
        return inWindow;
    }
    // A window just shown is laid out in steps (mapped, made floating,
    // centred, given its title bar), and a loaded machine spreads them out: a
    // click between two steps lands beside its target. A window is taken as
    // placed once two looks 200 ms apart find it in the same place; sway's
    // container ids are never reused, so each window is waited for once.
    static QSet<qint64> placed;
    if (!placed.contains(shown->id)) {
        QRect before;
        const bool still = QTest::qWaitFor(
            [&] {
                before = shown->content;
                QTest::qWait(200);
                shown = find(window->windowTitle()).value_or(*shown);
                return shown->content == before;
            },
            SwaymsgMs);
        if (still)
            placed.insert(shown->id);
    }
    return shown->content.topLeft() + inWindow;
}

namespace {
// Where the program last had the pointer: the window and the point in it.
class PointerWatch final : public QObject {
public:
    PointerWatch() { qApp->installEventFilter(this); }
    ~PointerWatch() override { qApp->removeEventFilter(this); }

    const QWindow *window = nullptr;
    QPoint position;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWindowType() || !event->spontaneous())
            return false;
        if (event->type() == QEvent::MouseMove)
            seen(watched, static_cast<QMouseEvent *>(event)->position());
        else if (event->type() == QEvent::Enter)
            seen(watched, static_cast<QEnterEvent *>(event)->position());
        return false;
    }

private:
    void seen(QObject *watched, QPointF at)
    {
        window = static_cast<QWindow *>(watched);
        position = at.toPoint();
    }
};
} // namespace

QPoint Sway::pointerTo(const QWidget *control, QPoint at)
{
    QPoint global;
    const QWindow *target = control->window()->windowHandle();
    const QPoint local = control->mapTo(control->window(), at);
    PointerWatch watch;
    auto there = [&] { return watch.window == target && watch.position == local; };
    for (int attempt = 0; attempt < 5; ++attempt) {
        // Read afresh each time: a window just shown can still be settling
        // where sway places it.
        global = globalPoint(control, at);
        // A step aside first: a pointer already on the point moves nothing.
        HostCommand move(qEnvironmentVariable("RUMIDA_WAYLAND_INPUT"),
                         {QStringLiteral("mousemove"), QString::number(global.x() + 1), QString::number(global.y()),
                          QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
        if (!QTest::qWaitFor([&] { return !move.running(); }, SwaymsgMs) || move.exitCode() != 0) {
            ADD_FAILURE() << "the pointer could not be moved: " << move.standardError().toStdString();
            return global;
        }
        if (QTest::qWaitFor(there, 1000))
            return global;
    }
    ADD_FAILURE() << "the program never had the pointer on " << control->objectName().toStdString() << " at "
                  << local.x() << ", " << local.y() << " (layout " << global.x() << ", " << global.y()
                  << "); last at " << watch.position.x() << ", " << watch.position.y() << " in "
                  << (watch.window ? watch.window->title().toStdString() : std::string("no window"));
    return global;
}
