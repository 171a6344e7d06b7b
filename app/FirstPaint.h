#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <ctime>

// Start-up measurement for `make bench`. With RUMIDA_BENCH_FIRST_PAINT set in
// the environment, the program prints "first-paint <ns>" (the monotonic clock,
// shared by all processes) and "cpu-ns <ns>" (the CPU time it has used) once
// the watched window has been painted and flushed, and exits. Nothing else in
// the game reads the environment.
class FirstPaintProbe final : public QObject {
public:
    using QObject::QObject;

    static bool wanted() { return qEnvironmentVariableIsSet("RUMIDA_BENCH_FIRST_PAINT"); }

    static void watch(QWidget *window)
    {
        if (wanted())
            QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(window));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A child may cover the whole window, so any of its widgets' paint
        // counts. The paint event comes before the window is drawn and
        // flushed; a queued call runs once that whole repaint is done.
        if (event->type() == QEvent::Paint && !fired_ && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == parent()) {
            fired_ = true;
            QMetaObject::invokeMethod(this, &FirstPaintProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        std::printf("first-paint %lld\ncpu-ns %lld\n",
                    static_cast<long long>(std::chrono::nanoseconds(now).count()),
                    static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    bool fired_ = false;
};
