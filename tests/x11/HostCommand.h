// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

// A program of the machine the X server runs on (xdotool, xprop), started by
// the desktop tests. On Linux it is a QProcess. The Windows build runs under
// Wine, which starts a Linux program for a Windows one but hands back no
// process to wait for: there the program runs in a shell that writes its
// output and its exit status to files, and those are what is waited for.
class HostCommand : public QObject {
    Q_OBJECT
public:
    HostCommand(const QString &program, const QStringList &args, QObject *parent = nullptr);
    ~HostCommand() override;

    bool running() const;
    // Waits until the program has ended; false if it is still running at the end.
    bool wait(int timeoutMs);
    // Valid once it has ended.
    int exitCode() const;
    QByteArray standardOutput() const;
    QByteArray standardError() const;

    // Runs a program to its end: whether it ended in time with status 0.
    static bool run(const QString &program, const QStringList &args, int timeoutMs,
                    QByteArray *output = nullptr, QByteArray *error = nullptr);

    // The X11 window that stands for `window` on the X server, as xdotool and
    // xprop name it: the window's own id on Linux, the X window Wine made for
    // it under Wine.
    static QString x11Window(const QWidget *window);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
