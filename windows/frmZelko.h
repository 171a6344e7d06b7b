// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class CommandButton;
class PictureBox;
class QLabel;

// The photo gallery: eight photographs of the racehorse Zelko, one at a time,
// stepped through in a ring with "<" and ">".
class frmZelko : public QWidget {
    Q_OBJECT
public:
    explicit frmZelko(QWidget *parent = nullptr);
    ~frmZelko() override;

    std::int16_t picNumber() const { return picNumber_; }

private:
    void buildControls();
    void Form_Load();
    void showPhotograph(int number);
    void cmdNextPic_Click();
    void cmdBackPic_Click();
    void Command1_Click();

    std::int16_t picNumber_ = 0;
    std::array<PictureBox *, 8> holders_{}; // Image1 .. Image8
    PictureBox *imgDefault = nullptr;
    QLabel *lblNumber = nullptr;
    CommandButton *Command1 = nullptr;
    CommandButton *cmdBackPic = nullptr;
    CommandButton *cmdNextPic = nullptr;
};
