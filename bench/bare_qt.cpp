// The floor for the start-up and memory figures: the smallest Qt Widgets
// program that shows a window of the splash card's size with a line of text.
// Text is part of the floor: the first text a Qt program shows loads the font
// database, which costs more than everything else a blank window does, and
// every window of the game shows text. It reports its first paint exactly as
// the game does, then its resident memory.
#include "app/FirstPaint.h"
#include "bench/ProcessStats.h"

#include <QApplication>
#include <QLabel>
#include <cstdio>

int main(int, char **argv)
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QLabel window(QStringLiteral("Qt"));
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(337, 278);
    window.show();
    FirstPaintProbe::watch(&window);
    const int status = app.exec();
    // The probe ends the loop right after the first paint, with the window still up.
    if (FirstPaintProbe::wanted())
        std::printf("rss-kb %ld\n", bench::residentKilobytes());
    return status;
}
