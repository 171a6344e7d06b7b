// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Renders every window of the game offscreen to PNG files, one per window,
// named after the window (frmRumida.png, frmCopy.png, ...), so a layout can
// be looked at without a desktop. Usage: rumida_snapshot <folder> [platform]
// (the platform defaults to offscreen; "windows" shows the Windows build's
// own rendering, under Wine too, where Qt's variables do not get through).
#include "platform/BeepService.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageService.h"
#include "platform/RandomGenerator.h"
#include "windows/Program.h"
#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTextStream>

using namespace std::chrono_literals;

namespace {
bool save(QWidget *window, const QDir &folder)
{
    window->show();
    QCoreApplication::processEvents();
    const QString file = folder.filePath(window->objectName() + QStringLiteral(".png"));
    if (window->grab().save(file))
        return true;
    QTextStream(stderr) << "cannot write " << file << "\n";
    return false;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        QTextStream(stderr) << "usage: " << argv[0] << " <folder> [platform]\n";
        return 2;
    }
    if (argc == 3)
        qputenv("QT_QPA_PLATFORM", argv[2]);
    else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    // The Japanese settings the game is made for, whatever this machine's are.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    setUpApplication(japanese);

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        QTextStream(stderr) << "cannot create " << folder.path() << "\n";
        return 1;
    }

    QtMessageService messages;
    QtBeep beep;
    // A fixed clock and seed: the same odds in every snapshot.
    SystemRandom random([] { return std::uint64_t(1); }, 1999);
    NullPacer pacer;
    Program program({messages, beep, random, pacer});

    bool ok = save(&program.start(1h), folder);
    ok = save(program.builtMainWindow(), folder) && ok;
    program.sideWindows().openGallery();
    ok = save(program.sideWindows().gallery(), folder) && ok;
    program.sideWindows().openHelp();
    ok = save(program.sideWindows().help(), folder) && ok;
    program.sideWindows().openVersion();
    ok = save(program.sideWindows().version(), folder) && ok;
    return ok ? 0 : 1;
}
