// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The main of the test programs that need Qt: a QApplication on Qt's offscreen
// platform (unless the caller chose another) and the Japanese settings the
// game is made for. The window tests (RUMIDA_TEST_WINDOWS) set the application
// up as the program does, fonts included; the platform's own tests need only
// the game locale pinned.
#ifdef RUMIDA_TEST_WINDOWS
#include "windows/Program.h"
#else
#include "platform/GameLocale.h"
#endif

#include <QApplication>
#include <QLocale>
#include <QProcessEnvironment>
#include <cstdio>
#include <gtest/gtest.h>

namespace {
QtMessageHandler standardHandler = nullptr;

// The offscreen platform reports every window-manager request it cannot
// carry out; those lines say nothing about the game.
void quietOffscreen(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
    else
        fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int main(int argc, char **argv)
{
#ifdef Q_OS_WIN
    // Under Wine, Qt's own variables come renamed (tests/wine/wine-run.sh).
    const QString renamed = QStringLiteral("RUMIDA_WINE_");
    for (const QString &entry : QProcessEnvironment::systemEnvironment().toStringList()) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (entry.startsWith(renamed) && equals > 0)
            qputenv(entry.mid(renamed.size(), equals - renamed.size()).toLocal8Bit(),
                    entry.mid(equals + 1).toLocal8Bit());
    }
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);

    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);

    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    standardHandler = qInstallMessageHandler(quietOffscreen);
    QApplication app(qtArgc, qtArgv);
#ifdef RUMIDA_TEST_WINDOWS
    setUpApplication(japanese);
#else
    setGameLocale(japanese);
#endif
    return RUN_ALL_TESTS();
}
