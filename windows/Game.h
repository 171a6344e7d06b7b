#pragma once

#include "race/frmRumida.h"
#include "windows/SideWindows.h"

#include <QPointer>
#include <chrono>
#include <memory>

class frmCopy;

// Everything that lives for the whole run of the program: the main window,
// which the splash window builds, and the side windows' openers. main() owns
// it; the windows it holds are destroyed with it.
class Game {
public:
    explicit Game(GameServices services);
    ~Game();
    Game(const Game &) = delete;
    Game &operator=(const Game &) = delete;

    // The program's start: builds the splash window, whose load step builds
    // the main window hidden, and shows the splash. The splash destroys
    // itself when it hands over to the main window.
    frmCopy &start();
    frmCopy &start(std::chrono::milliseconds splashTime);

    const GameServices services;
    SideWindows sideWindows;
    std::unique_ptr<frmRumida> mainWindow; // set by the splash window's load step

private:
    // The splash refers to the game, so it must not outlive it.
    QPointer<frmCopy> splash_;
};
