// Rumida: a horse-race betting game.
#include "app/Version.h"
#include "platform/Beep.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "windows/Game.h"
#include "windows/frmCopy.h"

#include <QApplication>

int main(int, char **argv)
{
    // The game takes no command line: Qt is given the program name alone, so
    // its own options (-reverse, -stylesheet, ...) have no effect.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Rumida"));
    QApplication::setApplicationVersion(QString::fromLatin1(rumida::Version));
    Fonts::install();
    setGameLocale(gameLocale());

    QtMessageService messages;
    QtBeep beep;
    SystemRandom random;
    DisplayPacer pacer;

    // The splash window starts the program; it builds the main window hidden
    // and hands over to it when its timer ticks.
    Game game({messages, beep, random, pacer});
    game.start();
    return app.exec();
}
