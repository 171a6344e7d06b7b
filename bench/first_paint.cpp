// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Start-up measurement for `make bench`, from outside the measured program:
// rumida_bench starts the game and the bare Qt floor with this library in
// LD_PRELOAD. Once the first top-level window shown (the game's splash, the
// floor's one window) has been painted and flushed, it prints
//   first-paint <ns>   the monotonic clock, shared by all processes
//   cpu-ns <ns>        the CPU time the process has used
//   rss-kb <kB>        its resident memory at that moment
// and ends the process with status 0. With FIRST_PAINT_WINDOW=n in its
// environment (the bench sets it; the measured programs never read it) it
// waits for the n-th top-level window shown instead: 2 is the game's main
// window, which the splash shows three seconds after the start.
//
// It hooks in through Qt's own start-up routine list (Q_COREAPP_STARTUP_FUNCTION):
// the library's static initialiser registers a routine that the application
// object calls while it is being constructed, and that routine installs an
// application-wide event filter. Nothing is interposed, so it works the same
// whether or not Qt's libraries bind their own calls internally
// (-Bsymbolic-functions), and neither program carries any code for it.
#include "bench/ProcessStats.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QObject *parent, int ordinal) : QObject(parent), ordinal_(ordinal) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (fired_ || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        // The n-th window to be shown is the one watched: the game builds
        // its main window hidden during the splash's load step and shows it
        // second.
        if (event->type() == QEvent::Show && !window_ && widget->isWindow()) {
            if (std::find(shown_.begin(), shown_.end(), widget) == shown_.end())
                shown_.push_back(widget);
            if (int(shown_.size()) == ordinal_)
                window_ = widget;
        } else if (event->type() == QEvent::Paint && window_ && widget->window() == window_) {
            // A child may cover the whole window, so any of its widgets' paint
            // counts. The paint event comes before the window is drawn and
            // flushed; a queued call runs once that whole repaint is done.
            fired_ = true;
            QMetaObject::invokeMethod(this, &FirstPaintWatch::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("first-paint %lld\ncpu-ns %lld\nrss-kb %ld\n",
                    static_cast<long long>(std::chrono::nanoseconds(now).count()),
                    static_cast<long long>(bench::processCpuSeconds() * 1e9),
                    bench::residentKilobytes());
#ifdef _WIN32
        // Under Wine the clock above is not the one the bench started the
        // program by: the time since the process was created stands in.
        std::printf("since-start-ns %lld\n",
                    static_cast<long long>(bench::secondsSinceCreation() * 1e9));
#endif
        std::fflush(stdout);
        // Ended here, with the window still up: what the program would do
        // after its loop is not part of the measurement.
        std::_Exit(0);
    }

    const int ordinal_;
    std::vector<const QWidget *> shown_; // compared only, never used: they may be gone
    QPointer<QWidget> window_;
    bool fired_ = false;
};

void watchFirstPaint()
{
    QCoreApplication *app = QCoreApplication::instance();
    const int ordinal = std::max(1, qEnvironmentVariableIntValue("FIRST_PAINT_WINDOW"));
    app->installEventFilter(new FirstPaintWatch(app, ordinal));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstPaint)
