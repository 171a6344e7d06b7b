// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Rumida: a horse-race betting game.
#include "app/Version.h"
#include "platform/BeepService.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageService.h"
#include "platform/RandomGenerator.h"
#include "windows/Program.h"
#include "windows/frmCopy.h"

#include <QApplication>

int main(int, char **argv)
{
    // The game takes no command line: Qt is given the program name alone, so
    // its own options (-reverse, -stylesheet, ...) have no effect.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    setUpApplication(gameLocale());
    QApplication::setApplicationVersion(QString::fromLatin1(rumida::Version));

    QtMessageService messages;
    QtBeep beep;
    SystemRandom random;
    GamePacer pacer;

    // The splash window starts the program; it builds the main window hidden
    // and hands over to it when its timer ticks.
    Program program({messages, beep, random, pacer});
    program.start();
    return app.exec();
}
