// Renders every window of the game offscreen to PNG files, one per window,
// named after the window (frmRumida.png, frmCopy.png, ...), so a layout can
// be looked at without a desktop. Usage: rumida_snapshot <folder>
#include "platform/Beep.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "windows/Game.h"
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
    if (argc != 2) {
        QTextStream(stderr) << "usage: " << argv[0] << " <folder>\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    Fonts::install();
    // The Japanese settings the game is made for, whatever this machine's are.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    setGameLocale(japanese);

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        QTextStream(stderr) << "cannot create " << folder.path() << "\n";
        return 1;
    }

    QtMessageService messages;
    QtBeep beep;
    // A fixed clock and seed: the same odds in every snapshot.
    SystemRandom random([] { return std::uint64_t(1); }, 1999);
    NoPacing pacer;
    Game game({messages, beep, random, pacer});

    bool ok = save(&game.start(1h), folder);
    ok = save(game.mainWindow.get(), folder) && ok;
    game.sideWindows.openGallery();
    ok = save(game.sideWindows.gallery(), folder) && ok;
    game.sideWindows.openHelp();
    ok = save(game.sideWindows.help(), folder) && ok;
    game.sideWindows.openVersion();
    ok = save(game.sideWindows.version(), folder) && ok;
    return ok ? 0 : 1;
}
