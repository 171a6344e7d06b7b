// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/Program.h"

#include "platform/Accessibility.h"
#include "platform/Fonts.h"
#include "platform/GameLocale.h"
#include "platform/WebPage.h"
#include "windows/frmCopy.h"

#include <QApplication>

void setUpApplication(const QLocale &gameLocale)
{
    QApplication::setApplicationName(QStringLiteral("Rumida"));
    Fonts::install();
    setGameLocale(gameLocale);
    Accessibility::install();
    WebPage::install();
}

Program::Program(GameServices services) : services_(services) {}

Program::~Program()
{
    delete splash_.data();
}

frmCopy &Program::start()
{
    return start(frmCopy::ShowTime);
}

frmCopy &Program::start(std::chrono::milliseconds splashTime)
{
    splash_ = new frmCopy(*this, splashTime);
    splash_->show();
    return *splash_;
}

frmRumida &Program::mainWindow()
{
    if (!mainWindow_) {
        mainWindow_ = std::make_unique<frmRumida>(services_);
        sideWindows_.followMenusOf(*mainWindow_);
    }
    return *mainWindow_;
}
