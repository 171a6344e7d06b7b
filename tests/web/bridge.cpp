// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Linked into the test build of the web page only: lets the browser walk read
// what the game shows, as JSON from window.rumidaTest.state(). It reads and
// never changes anything, so the walk plays with trusted input alone.
//   windows: every visible window, its title, frame and client rectangles in
//            page pixels, whether it is active and modal, and its controls
//            (objectName, text, ticks, enabled, focus, rectangle); a menu
//            bar's or menu's items with their rectangles; a message box's
//            text, icon and buttons
//   frames:  the times (ms, the page's clock) at which the horses were
//            painted in the last race
//   paints:  the time each window was first painted, once trackPaints() has
//            been called
// and, from window.rumidaTest.windowAt(x, y), the name (or class) of the
// window a press at that point of the page would reach.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <emscripten.h>
#include <string>
#include <vector>

namespace {
QJsonObject rect(const QRect &r)
{
    return {{QStringLiteral("x"), r.x()}, {QStringLiteral("y"), r.y()},
            {QStringLiteral("w"), r.width()}, {QStringLiteral("h"), r.height()}};
}

QRect globalRect(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QJsonArray actions(const QWidget *owner, const QList<QAction *> &list, auto geometry)
{
    QJsonArray items;
    for (QAction *action : list) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QRect r = geometry(action);
        items.append(QJsonObject{{QStringLiteral("name"), action->objectName()},
                                 {QStringLiteral("text"), action->text()},
                                 {QStringLiteral("enabled"), action->isEnabled()},
                                 {QStringLiteral("rect"), rect(QRect(owner->mapToGlobal(r.topLeft()), r.size()))}});
    }
    return items;
}

QJsonObject control(const QWidget *widget)
{
    QJsonObject c{{QStringLiteral("name"), widget->objectName()},
                  {QStringLiteral("class"), QString::fromLatin1(widget->metaObject()->className())},
                  {QStringLiteral("enabled"), widget->isEnabled()},
                  {QStringLiteral("focus"), widget->hasFocus()},
                  {QStringLiteral("rect"), rect(globalRect(widget))}};
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        c[QStringLiteral("text")] = label->text();
    else if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        c[QStringLiteral("text")] = edit->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        c[QStringLiteral("text")] = button->text();
        c[QStringLiteral("checked")] = button->isChecked();
        if (const auto *push = qobject_cast<const QPushButton *>(widget))
            c[QStringLiteral("default")] = push->isDefault();
    }
    if (const auto *bar = qobject_cast<const QMenuBar *>(widget))
        c[QStringLiteral("items")] = actions(bar, bar->actions(), [bar](QAction *a) { return bar->actionGeometry(a); });
    return c;
}

QJsonObject window(const QWidget *window)
{
    QJsonObject w{{QStringLiteral("name"), window->objectName()},
                  {QStringLiteral("class"), QString::fromLatin1(window->metaObject()->className())},
                  {QStringLiteral("title"), window->windowTitle()},
                  {QStringLiteral("frame"), rect(window->frameGeometry())},
                  {QStringLiteral("client"), rect(globalRect(window))},
                  {QStringLiteral("active"), window->isActiveWindow()},
                  // The window the page's keys go to, which Qt's widgets may not take as active.
                  {QStringLiteral("keyboard"), window->windowHandle() && window->windowHandle() == QGuiApplication::focusWindow()},
                  {QStringLiteral("modal"), window->isModal()}};
    if (const auto *menu = qobject_cast<const QMenu *>(window)) {
        w[QStringLiteral("items")] = actions(menu, menu->actions(), [menu](QAction *a) { return menu->actionGeometry(a); });
        w[QStringLiteral("activeItem")] = menu->activeAction() ? menu->activeAction()->objectName() : QString();
    }
    if (const auto *box = qobject_cast<const QMessageBox *>(window)) {
        w[QStringLiteral("text")] = box->text();
        w[QStringLiteral("icon")] = box->icon() == QMessageBox::Question ? QStringLiteral("question")
                                                                       : QStringLiteral("critical");
    }
    QJsonArray controls;
    for (const QWidget *child : window->findChildren<QWidget *>()) {
        if (child->window() != window)
            continue; // a message box's, shown as a window of its own
        if (child->isVisible() && !child->objectName().isEmpty() && !child->isWindow())
            controls.append(control(child));
        else if (child->isVisible() && !child->isWindow()
                 && (qobject_cast<const QAbstractButton *>(child) || qobject_cast<const QMenuBar *>(child)))
            controls.append(control(child)); // a message box's buttons and the menu bar have no names
    }
    w[QStringLiteral("controls")] = controls;
    return w;
}

// The horses' paints, one time a frame (the first paint of each frame), and
// every window's first paint.
class PaintLog final : public QObject {
public:
    std::vector<double> frames;
    QJsonObject firstPaints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const double now = emscripten_get_now();
        if (watched->objectName() == QLatin1String("imgAka") && (frames.empty() || now - frames.back() > 1.0))
            frames.push_back(now);
        const auto *widget = qobject_cast<const QWidget *>(watched);
        if (widget && widget->isWindow() && !firstPaints.contains(widget->objectName()))
            firstPaints[widget->objectName()] = now;
        return false;
    }
};

PaintLog &paintLog()
{
    static PaintLog *log = [] {
        auto *created = new PaintLog;
        QApplication::instance()->installEventFilter(created);
        return created;
    }();
    return *log;
}

std::string state()
{
    QJsonArray windows;
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            windows.append(window(w));
    }
    QJsonArray frames;
    for (double t : paintLog().frames)
        frames.append(t);
    const QWidget *focus = QApplication::focusWidget();
    const QJsonObject all{{QStringLiteral("windows"), windows},
                          {QStringLiteral("frames"), frames},
                          {QStringLiteral("paints"), paintLog().firstPaints},
                          {QStringLiteral("focus"), focus ? focus->objectName() : QString()}};
    return QJsonDocument(all).toJson(QJsonDocument::Compact).toStdString();
}

// Forgets the frames painted so far: the walk calls it before a race.
void clearFrames()
{
    paintLog().frames.clear();
}

// Starts watching the paints, if nothing has yet.
void trackPaints()
{
    paintLog();
}

} // namespace

// Plain exports, not embind: called while a handler is suspended (a race, a
// message box), an embind function hands back a promise of its result for
// when the handler has ended.
extern "C" {
EMSCRIPTEN_KEEPALIVE const char *rumida_test_state()
{
    static std::string json;
    json = state();
    return json.c_str();
}
EMSCRIPTEN_KEEPALIVE const char *rumida_test_window_at(int x, int y)
{
    static std::string name;
    const QWidget *w = QApplication::topLevelAt(QPoint(x, y));
    name = !w ? std::string() : !w->objectName().isEmpty() ? w->objectName().toStdString()
                                                           : std::string(w->metaObject()->className());
    return name.c_str();
}
EMSCRIPTEN_KEEPALIVE void rumida_test_clear_frames()
{
    clearFrames();
}
EMSCRIPTEN_KEEPALIVE void rumida_test_track_paints()
{
    trackPaints();
}
}

namespace {
EM_JS(void, rumidaTestInstall, (), {
    window.rumidaTest = {
        state: function() { return JSON.parse(UTF8ToString(_rumida_test_state())); },
        windowAt: function(x, y) { return UTF8ToString(_rumida_test_window_at(Math.round(x), Math.round(y))); },
        clearFrames: function() { _rumida_test_clear_frames(); },
        trackPaints: function() { _rumida_test_track_paints(); }
    };
});

// Installed as the program starts, before the page asks for anything.
struct Install {
    Install() { rumidaTestInstall(); }
} install;
} // namespace
