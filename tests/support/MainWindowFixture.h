// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "race/frmRumida.h"
#include "tests/support/PairDigits.h"
#include "tests/support/TestServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// A real main window, shown and active offscreen, with scripted services.
class MainWindowTest : public ::testing::Test {
protected:
    ScriptedMessages messages;
    CountingBeep beep;
    ScriptedRandom random;
    CountingPacer pacer;
    std::unique_ptr<frmRumida> window;

    // Builds the window; the six draws of its odds come from `odds` when given.
    void open(std::initializer_list<float> oddsDraws = {});
    // Builds, shows and activates the window on services of the test's choice.
    void openWith(const GameServices &services);
    void TearDown() override;

    template <class T> T *find(const QString &name) const
    {
        T *control = window->findChild<T *>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    QCheckBox *chk(const char *digits) const { return find<QCheckBox>(QStringLiteral("chk") + QLatin1String(digits)); }
    QLineEdit *txt(const char *digits) const { return find<QLineEdit>(QStringLiteral("txt") + QLatin1String(digits)); }
    QPushButton *button(const char *name) const { return find<QPushButton>(QLatin1String(name)); }
    QString label(const char *name) const { return find<QLabel>(QLatin1String(name))->text(); }
    QString money() const { return label("lblCurrent"); }

    // Mouse clicks as a player makes them (a check box is clicked on its box).
    void click(QWidget *control);
    void clickCheck(const char *digits) { click(chk(digits)); }
    // Takes the focus out of an amount box without clicking anything: the
    // mouse is pressed on cmdEndBet and released away from it.
    void leaveBox();
    // Types into whatever has the focus.
    void type(const QString &text);
    // Pastes text into the focused box, as a player pastes full-width forms.
    void paste(const QString &text);
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Picks a menu item by its objectName through its menu, as the mouse does.
    void pick(const char *actionName);

    // Desktop paths that move Qt's focus behind the game's back.
    // A tap of Alt: the menu bar takes the keyboard (menu mode).
    void tapAlt();
    // Opens a top menu (mnuFile, mnuOmake, mnuH) with a click on its title.
    QMenu *openMenu(const char *menuName);
    // Picks `actionText`'s item of a widget's context menu, opened with a
    // right-click; a disabled item or an empty text closes the menu with
    // Escape instead. Whether the item was picked.
    bool contextMenuPick(QWidget *control, const QString &actionText);
    // Drops `text` on the middle of a control as a drag from another program
    // would; whether the control took it.
    bool dropText(QWidget *control, const QString &text);
    // The same, dropped at `at` in the control: a text box puts the text where
    // the drop lands.
    bool dropTextAt(QWidget *control, const QString &text, QPointF at);

    void reactivate();
    // Qt's focus widget, and the control that holds the main window's focus
    // as the game sees it (not the menu bar in menu mode, say).
    QWidget *focus() const;
    QString focusName() const;
    QWidget *ownFocus() const;

    // Scripts a race: each step draws four values; `steps` gives each step's
    // four step sizes (1..10) for horses 1..4.
    void scriptSteps(const std::vector<StepSizes> &steps);
    // Scripts a whole race that ends with exactly one horse `winner` past the
    // line and `second` the most advanced of the rest.
    void scriptRace(int winner, int second);
};
