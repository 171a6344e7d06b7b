// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/support/MainWindowFixture.h"

#include "platform/WindowFocus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QMimeData>
#include <QTest>
#include <QTimer>

void MainWindowTest::open(std::initializer_list<float> oddsDraws)
{
    random.script(oddsDraws);
    openWith(GameServices{messages, beep, random, pacer});
}

void MainWindowTest::openWith(const GameServices &services)
{
    window = std::make_unique<frmRumida>(services);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void MainWindowTest::TearDown()
{
    EXPECT_FALSE(messages.unexpected);
    EXPECT_EQ(messages.pending(), 0u) << "scripted answers left unused";
    window.reset();
}

void MainWindowTest::click(QWidget *control)
{
    ASSERT_NE(control, nullptr);
    QPoint at = control->rect().center();
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        at = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, at);
}

void MainWindowTest::leaveBox()
{
    QPushButton *endBet = button("cmdEndBet");
    QTest::mousePress(endBet, Qt::LeftButton, Qt::NoModifier, endBet->rect().center());
    QTest::mouseRelease(endBet, Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
}

void MainWindowTest::type(const QString &text)
{
    QWidget *target = focus();
    ASSERT_NE(target, nullptr);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void MainWindowTest::paste(const QString &text)
{
    QApplication::clipboard()->setText(text);
    key(Qt::Key_V, Qt::ControlModifier);
}

void MainWindowTest::key(Qt::Key k, Qt::KeyboardModifiers mods)
{
    QWidget *target = focus();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, k, mods);
}

void MainWindowTest::pick(const char *actionName)
{
    auto *action = window->findChild<QAction *>(QLatin1String(actionName));
    ASSERT_NE(action, nullptr) << actionName;
    // Open the menu the item belongs to, then trigger the item inside it.
    for (QMenu *menu : window->menuBar()->findChildren<QMenu *>()) {
        if (!menu->actions().contains(action))
            continue;
        window->menuBar()->setActiveAction(menu->menuAction());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        const QRect r = menu->actionGeometry(action);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, r.center());
        EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
        if (!window->isEnding())
            reactivate();
        return;
    }
    FAIL() << "no menu holds " << actionName;
}

void MainWindowTest::tapAlt()
{
    QWidget *target = focus();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, Qt::Key_Alt, Qt::AltModifier);
}

QMenu *MainWindowTest::openMenu(const char *menuName)
{
    auto *menu = find<QMenu>(QLatin1String(menuName));
    if (!menu)
        return nullptr;
    QMenuBar *bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->menuAction()).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); })) << menuName;
    return menu;
}

bool MainWindowTest::contextMenuPick(QWidget *control, const QString &actionText)
{
    if (!control)
        return false;
    // The right press moves the focus as any press does; the offscreen
    // platform makes no context-menu event of it, a desktop does.
    const QPoint at = control->rect().center();
    QTest::mousePress(control, Qt::RightButton, Qt::NoModifier, at);
    if (!QApplication::activePopupWidget()) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, control->mapToGlobal(at));
        QApplication::sendEvent(control, &event);
    }
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr) << "no context menu";
    if (!menu || !QTest::qWaitForWindowExposed(menu))
        return false;
    QAction *chosen = nullptr;
    for (QAction *action : menu->actions()) {
        if (!actionText.isEmpty() && action->text().remove(QLatin1Char('&')).startsWith(actionText))
            chosen = action;
    }
    EXPECT_TRUE(chosen || actionText.isEmpty()) << "no context-menu item " << actionText.toStdString();
    const bool picked = chosen && chosen->isEnabled();
    if (picked)
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(chosen).center());
    else
        QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
    QTest::mouseRelease(control, Qt::RightButton, Qt::NoModifier, at);
    return picked;
}

bool MainWindowTest::dropText(QWidget *control, const QString &text)
{
    return dropTextAt(control, text, QRectF(control->rect()).center());
}

bool MainWindowTest::dropTextAt(QWidget *control, const QString &text, QPointF at)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control, &drop);
    return drop.isAccepted();
}

void MainWindowTest::reactivate()
{
    // A desktop leaves the window active when its menu closes; the offscreen
    // platform leaves the hidden menu active instead.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
}

QWidget *MainWindowTest::focus() const
{
    return QApplication::focusWidget();
}

QWidget *MainWindowTest::ownFocus() const
{
    const WindowFocus *tracker = WindowFocus::of(window.get());
    return tracker ? tracker->current() : nullptr;
}

QString MainWindowTest::focusName() const
{
    QWidget *f = focus();
    return f ? f->objectName() : QStringLiteral("<none>");
}

void MainWindowTest::scriptSteps(const std::vector<StepSizes> &steps)
{
    random.script(drawsForSteps(steps));
}

void MainWindowTest::scriptRace(int winner, int second)
{
    scriptSteps(raceWonBy(winner, second));
}
