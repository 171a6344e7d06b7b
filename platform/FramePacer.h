// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

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

    // How the pacer reads the time and waits for a deadline. The game uses the
    // steady clock and a real sleep; tests hand in a clock of their own, so
    // the pacing is checked without waiting for it.
    struct Timing {
        std::function<Clock::time_point()> now;
        std::function<void(Clock::time_point)> sleepUntil;
    };
    static Timing realTiming();

    // One display frame at 60 Hz.
    static constexpr Clock::duration DisplayFrame = std::chrono::microseconds(16667);

    explicit DisplayPacer(Clock::duration period = DisplayFrame, Timing timing = realTiming());

    void start() override;
    void frame() override;

private:
    Clock::duration period_;
    Timing timing_;
    Clock::time_point nextFrame_;
};
