#pragma once

#include <chrono>

// Lets a long computation inside an event handler show its progress: at each
// frame the windows repaint and the desktop's own requests are answered, then
// the pacer sleeps until the next frame is due. Tests use a pacer that does
// nothing.
class FramePacer {
public:
    virtual ~FramePacer() = default;
    virtual void start() {}
    virtual void frame() = 0;
};

// A pacer that does nothing: the race runs at full speed (tests, tools).
class NullPacer final : public FramePacer {
public:
    void frame() override {}
};

class DisplayPacer final : public FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    explicit DisplayPacer(Clock::duration period = std::chrono::microseconds(16667));

    void start() override;
    void frame() override;

private:
    Clock::duration period_;
    Clock::time_point nextFrame_;
};
