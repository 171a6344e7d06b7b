// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <chrono>

class PictureBackground;
class Program;
class QTimer;

// The opening splash: a borderless picture card with the title, the version
// and the credits over a photograph. Its load step builds the main window
// hidden; when its timer ticks it shows the main window and destroys itself.
class frmCopy : public QWidget {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds ShowTime{3000};

    // Builds the splash and runs its load step; showTime is the timer's
    // interval (tests shorten it).
    explicit frmCopy(Program &program, std::chrono::milliseconds showTime = ShowTime);
    ~frmCopy() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Timer1_Timer();
    void showMainWindow();
    void finishMainWindow();

    Program &program_;
    QTimer *Timer1 = nullptr;
    PictureBackground *client_ = nullptr;
    bool handedOver_ = false;
};
