#include "platform/FramePacer.h"

#include <QCoreApplication>
#include <thread>

DisplayPacer::DisplayPacer(Clock::duration period) : period_(period) {}

void DisplayPacer::start()
{
    nextFrame_ = Clock::now() + period_;
}

void DisplayPacer::frame()
{
    // Paint and answer the desktop; the input gate keeps the player out.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto now = Clock::now();
    if (now < nextFrame_) {
        std::this_thread::sleep_until(nextFrame_);
        nextFrame_ += period_;
    } else {
        // Running late: start counting afresh instead of rushing to catch up.
        nextFrame_ = now + period_;
    }
}
