// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ControlTable.h"
#include "platform/GameServices.h"
#include "platform/InputGate.h"
#include "race/Purse.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class CommandButton;
class PictureBackground;
class PictureBox;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class TextBox;
class WindowFocus;

// The main window: the course with the four horses, the odds board, the
// stakes on the six pairs, the money, the result row, three buttons and the
// menu bar. It owns the game state for the whole run of the program.
class frmRumida : public QMainWindow {
    Q_OBJECT
public:
    // One of the six pairs of horses with its controls; its odds and stake
    // are in the purse under its code.
    struct Pair {
        int code;        // winning pair code, 1 to 6
        QString caption; // "1-2" ...
        QCheckBox *chk = nullptr;
        TextBox *txt = nullptr;
        QLabel *lbl = nullptr; // its odds on the board
    };

    // Race pacing: a fixed number of steps per display frame. An average race
    // takes about 1125 steps, so three steps at 60 frames a second make it
    // last about six seconds.
    static constexpr int StepsPerFrame = 3;

    // Builds the window hidden and runs its load step: every control exists
    // and the odds, the money and the buttons' states are set.
    explicit frmRumida(GameServices services, QWidget *parent = nullptr);
    ~frmRumida() override;

    // What only the eye needs: the menu bar, the pictures decoded and the
    // controls fitted to their fonts. The splash calls it once it has painted itself; showing
    // the window calls it too, so the window never shows unfinished. Runs once.
    void finishBuilding();
    void setVisible(bool visible) override;

    const rules::Purse &purse() const { return purse_; }
    std::int64_t money() const { return purse_.money(); }
    const std::array<Pair, rules::PairCount> &pairs() const { return pairs_; }
    bool isEnding() const { return ending_; }

    // The quit confirmation. Returns true when the player confirmed: then every
    // window is closed, the event loop is told to exit with status 0, and the
    // caller must return at once.
    bool confirmQuit();

signals:
    // The side-window menu picks; the splash window connects them.
    void galleryRequested();
    void helpRequested();
    void versionRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCourse(QWidget *client);
    void buildPairs(QWidget *client);
    void buildOddsBoard(QWidget *client);
    void buildResults(QWidget *client);
    void buildMenus();
    void setTabOrder();
    void placeLaneNumbers();
    void fitOddsBoard();
    void fitMoneyBox();

    void Form_Load();
    void drawOdds();
    void showMoney();
    bool closeMainWindow();

    void chkNN_Click(Pair &pair);
    void txtNN_GotFocus(Pair &pair);
    void txtNN_LostFocus(Pair &pair);
    void cmdEndBet_Click();
    void cmdStart_Click();
    void cmdNext_Click();
    void Func_Race(std::int16_t &code);
    bool ruinCheck();
    void mnuStartOver_Click();
    void mnuEnd_Click();

    Pair &pairOfCode(int code) { return pairs_[std::size_t(code - 1)]; }

    GameServices services_;
    InputGate gate_;
    WindowFocus *focus_ = nullptr;
    bool ending_ = false;
    DeferredFitting fitting_;
    bool finished_ = false; // finishBuilding() has run

    // The game's state, zero until the load step.
    rules::Purse purse_;
    std::array<Pair, rules::PairCount> pairs_;

    PictureBackground *course_ = nullptr;
    std::array<PictureBox *, rules::HorseCount> horses_{}; // imgAka, imgCha, imgKi, imgShiro
    std::array<QLabel *, rules::HorseCount> laneNumbers_{}; // Label1 .. Label4
    QLabel *lblCurrent = nullptr;
    QLabel *lblWinner = nullptr;
    QLabel *lblHaitou = nullptr;
    QGroupBox *fraOdds = nullptr;
    CommandButton *cmdEndBet = nullptr;
    CommandButton *cmdNext = nullptr;
    CommandButton *cmdStart = nullptr;
    QMenu *mnuFile = nullptr;
    QMenu *mnuOmake = nullptr;
    QMenu *mnuH = nullptr;
};
