// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/FramePacer.h"

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
