// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/GameServices.h"
#include "race/frmRumida.h"
#include "windows/SideWindows.h"

#include <QPointer>
#include <chrono>
#include <memory>

class QLocale;
class frmCopy;

// Sets up the application the game runs in: its name, the windows' fonts and
// the game locale. Every entry point (the game, the tests, the snapshot tool,
// the benchmark) calls it right after making its QApplication.
void setUpApplication(const QLocale &gameLocale);

// The program's objects and their wiring for the whole run: the services it
// runs on, the splash that starts it, the main window the splash asks for,
// and the side windows' openers wired to the main window's menus. main() owns
// it; the windows it holds are destroyed with it.
class Program {
public:
    explicit Program(GameServices services);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // The program's start: builds the splash window, whose load step asks for
    // the main window, and shows the splash. The splash destroys itself when
    // it hands over to the main window.
    frmCopy &start();
    frmCopy &start(std::chrono::milliseconds splashTime);

    // The main window. The first request builds it hidden (its load step
    // runs) and wires its menus to the side windows.
    frmRumida &mainWindow();
    // The main window if it has been built, or null.
    frmRumida *builtMainWindow() const { return mainWindow_.get(); }
    SideWindows &sideWindows() { return sideWindows_; }
    const SideWindows &sideWindows() const { return sideWindows_; }

private:
    const GameServices services_;
    SideWindows sideWindows_;
    std::unique_ptr<frmRumida> mainWindow_;
    // The splash refers to the program, so it must not outlive it.
    QPointer<frmCopy> splash_;
};
