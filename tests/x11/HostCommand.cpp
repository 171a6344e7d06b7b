// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "tests/x11/HostCommand.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#ifdef Q_OS_WIN
#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <windows.h>
#else
#include <QProcess>
#endif

#ifndef Q_OS_WIN

struct HostCommand::Impl {
    QProcess process;
};

HostCommand::HostCommand(const QString &program, const QStringList &args, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    d->process.start(program, args);
}

HostCommand::~HostCommand()
{
    if (d->process.state() != QProcess::NotRunning) {
        d->process.kill();
        d->process.waitForFinished();
    }
}

bool HostCommand::running() const
{
    return d->process.state() != QProcess::NotRunning;
}

bool HostCommand::wait(int timeoutMs)
{
    return d->process.state() == QProcess::NotRunning || d->process.waitForFinished(timeoutMs);
}

int HostCommand::exitCode() const
{
    if (d->process.error() == QProcess::FailedToStart || d->process.exitStatus() != QProcess::NormalExit)
        return -1;
    return d->process.exitCode();
}

QByteArray HostCommand::standardOutput() const
{
    return const_cast<QProcess &>(d->process).readAllStandardOutput();
}

QByteArray HostCommand::standardError() const
{
    return const_cast<QProcess &>(d->process).readAllStandardError();
}

QString HostCommand::x11Window(const QWidget *window)
{
    return QString::number(window->winId());
}

#else

namespace {
// Wine shows the Linux file system as drive Z:.
QString linuxPath(const QString &windowsPath)
{
    QString path = QDir::fromNativeSeparators(windowsPath);
    if (path.startsWith(QLatin1String("Z:"), Qt::CaseInsensitive))
        path.remove(0, 2);
    return path;
}

QString shellQuoted(const QString &word)
{
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

struct HostCommand::Impl {
    // Under /tmp of the Linux side, where both the shell and the test can reach.
    QTemporaryDir folder{QStringLiteral("Z:/tmp/rumida-host-XXXXXX")};
    QString status() const { return folder.filePath(QStringLiteral("status")); }
};

HostCommand::HostCommand(const QString &program, const QStringList &args, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    const QString dir = linuxPath(d->folder.path());
    // The Windows environment Wine passes on keeps the X display but not a
    // Linux search path.
    QString script = QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin\nexport PATH\n");
    QStringList words{shellQuoted(program)};
    for (const QString &arg : args)
        words << shellQuoted(arg);
    script += words.join(QLatin1Char(' '))
              + QStringLiteral(" >'%1/out' 2>'%1/err' </dev/null\necho $? >'%1/status.part'\nmv '%1/status.part' '%1/status'\n")
                    .arg(dir);
    QFile file(d->folder.filePath(QStringLiteral("run.sh")));
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0) {
        QFile::remove(d->status());
        return;
    }
    file.close();

    std::wstring command = QStringLiteral("Z:\\bin\\sh %1/run.sh").arg(dir).toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        // Wine returns no handles for a Linux program; a Windows one would.
        if (info.hProcess)
            CloseHandle(info.hProcess);
        if (info.hThread)
            CloseHandle(info.hThread);
    } else {
        QFile status(d->status());
        if (status.open(QIODevice::WriteOnly))
            status.write("127\n");
    }
}

HostCommand::~HostCommand()
{
    // Its files go with the folder; a program still running writes nowhere.
    wait(20000);
}

bool HostCommand::running() const
{
    return !QFile::exists(d->status());
}

bool HostCommand::wait(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (running()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(2);
    }
    return true;
}

int HostCommand::exitCode() const
{
    bool ok = false;
    const int code = readAll(d->status()).trimmed().toInt(&ok);
    return ok ? code : -1;
}

QByteArray HostCommand::standardOutput() const
{
    return readAll(d->folder.filePath(QStringLiteral("out")));
}

QByteArray HostCommand::standardError() const
{
    return readAll(d->folder.filePath(QStringLiteral("err")));
}

QString HostCommand::x11Window(const QWidget *window)
{
    // Wine keeps the X window of each top-level window in a window property.
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    return QString::number(quintptr(GetPropW(hwnd, L"__wine_x11_whole_window")));
}

#endif

bool HostCommand::run(const QString &program, const QStringList &args, int timeoutMs,
                      QByteArray *output, QByteArray *error)
{
    HostCommand command(program, args);
    const bool ended = command.wait(timeoutMs);
    if (output)
        *output = command.standardOutput();
    if (error)
        *error = command.standardError();
    return ended && command.exitCode() == 0;
}
