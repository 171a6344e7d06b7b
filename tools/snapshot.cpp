// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Renders every window of the game offscreen to PNG files, one per window,
// named after the window (frmRumida.png, frmCopy.png, ...), so a layout can
// be looked at without a desktop. Usage: rumida_snapshot <folder> [platform] [--hold]
// (the platform defaults to offscreen; "windows" shows the Windows build's
// own rendering, under Wine too, where Qt's variables do not get through).
// --hold keeps each window on a real desktop until a line comes on standard
// input, after naming it on standard output, so that a screenshot of the
// desktop can show it as the compositor or window manager frames it; the
// quit confirmation is asked last and held the same way.
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
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>

using namespace std::chrono_literals;

namespace {
bool hold = false;

// Runs the event loop until `done` or `ms` have passed (no Qt Test in a tool
// that builds without the tests).
bool waitFor(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

bool exposed(QWidget *window)
{
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// Names the window on standard output and waits for a line on standard input.
void holdShown(QWidget *window, const QString &name)
{
    waitFor([window] { return exposed(window); }, 20000);
    // A few frames for the window to be drawn and framed.
    waitFor([] { return false; }, 500);
    QTextStream(stdout) << name << Qt::endl;
    QTextStream(stdin).readLine();
}

bool save(QWidget *window, const QDir &folder)
{
    window->show();
    QCoreApplication::processEvents();
    const QString file = folder.filePath(window->objectName() + QStringLiteral(".png"));
    const bool saved = window->grab().save(file);
    if (!saved)
        QTextStream(stderr) << "cannot write " << file << "\n";
    if (hold) {
        holdShown(window, window->objectName());
        // Hidden, not closed: closing the main window would ask to quit.
        window->hide();
    }
    return saved;
}
} // namespace

int main(int argc, char **argv)
{
    hold = argc == 4 && qstrcmp(argv[3], "--hold") == 0;
    if (argc != 2 && argc != 3 && !hold) {
        QTextStream(stderr) << "usage: " << argv[0] << " <folder> [platform] [--hold]\n";
        return 2;
    }
    if (argc >= 3)
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
    if (hold) {
        // The quit confirmation over the main window, held, then cancelled.
        QWidget *main = program.builtMainWindow();
        main->show();
        waitFor([main] { return exposed(main); }, 20000);
        QTimer::singleShot(0, main, [] {
            QWidget *box = nullptr;
            waitFor([&] { return (box = QApplication::activeModalWidget()) != nullptr; }, 20000);
            if (auto *question = qobject_cast<QMessageBox *>(box)) {
                holdShown(question, QStringLiteral("quit"));
                question->reject();
            }
        });
        main->close();
    }
    return ok ? 0 : 1;
}
