// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The floor for the start-up and memory figures: the smallest Qt Widgets
// program that shows a window of the splash card's size with a line of text.
// Text is part of the floor: the first text a Qt program shows loads the font
// database, which costs more than everything else a blank window does, and
// every window of the game shows text. Like the game, it carries no
// measurement of its own: the preloaded first_paint library reports its first
// paint and its resident memory in the same way for both.
#include <QApplication>
#include <QLabel>

int main(int, char **argv)
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QLabel window(QStringLiteral("Qt"));
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(337, 278);
    window.show();
    return app.exec();
}
