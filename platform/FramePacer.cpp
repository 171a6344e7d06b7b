// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/FramePacer.h"

#ifdef Q_OS_WASM
#include "platform/Browser.h"
#endif

#include <QCoreApplication>
#include <thread>
#include <utility>

DisplayPacer::Timing DisplayPacer::realTiming()
{
    return {[] { return Clock::now(); },
            [](Clock::time_point deadline) { std::this_thread::sleep_until(deadline); }};
}

DisplayPacer::DisplayPacer(Clock::duration period, Timing timing)
    : period_(period), timing_(std::move(timing))
{
}

void DisplayPacer::start()
{
    nextFrame_ = timing_.now() + period_;
}

void DisplayPacer::frame()
{
    // Paint and answer the desktop; the input gate keeps the player out.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto now = timing_.now();
    if (now < nextFrame_) {
        timing_.sleepUntil(nextFrame_);
        nextFrame_ += period_;
    } else {
        // Running late: start counting afresh instead of rushing to catch up.
        nextFrame_ = now + period_;
    }
}

#ifdef Q_OS_WASM
namespace {
// A frame of a display faster than 60 Hz that comes this close to a 60th of a
// second after the last game frame still counts as the next one: the
// browser's frame times come a little early or late.
constexpr double FrameSlack = 2.0; // ms
constexpr double GameFrame = std::chrono::duration<double, std::milli>(DisplayPacer::DisplayFrame).count();
} // namespace

void BrowserPacer::start()
{
    lastFrame_ = 0;
}

void BrowserPacer::frame()
{
    // Post the repaint (the input gate keeps the player out), then let the
    // browser paint it: always at least one animation frame.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    double now = Browser::nextAnimationFrame();
    while (lastFrame_ > 0 && now - lastFrame_ < GameFrame - FrameSlack)
        now = Browser::nextAnimationFrame();
    lastFrame_ = now;
}
#endif
