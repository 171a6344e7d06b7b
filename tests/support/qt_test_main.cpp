// The one main of every test program: a QApplication on Qt's offscreen
// platform (unless the caller chose another), the game's fonts, and the
// Japanese settings the game is made for.
#include "platform/Fonts.h"
#include "platform/GameLocale.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);

    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    setGameLocale(japanese);

    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    Fonts::install();
    return RUN_ALL_TESTS();
}
