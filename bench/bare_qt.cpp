// The floor for the start-up and memory figures: the smallest Qt Widgets
// program that shows one window of the splash card's size. It reports its
// first paint exactly as the game does, then its resident memory.
#include "app/FirstPaint.h"
#include "bench/ProcessStats.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstdio>

int main(int, char **argv)
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(337, 278);
    QLabel label(qEnvironmentVariableIsSet("BARE_TEXT") ? QStringLiteral("Qt") : QString(), &window);
    window.show();
    FirstPaintProbe::watch(&window);
    const int status = app.exec();
    // The probe ends the loop right after the first paint, with the window still up.
    if (FirstPaintProbe::wanted())
        std::printf("rss-kb %ld\n", bench::residentKilobytes());
    return status;
}
