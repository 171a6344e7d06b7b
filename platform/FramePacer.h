// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
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

#ifdef Q_OS_WASM
// The race in a web page: the browser paints only once the handler has given
// it control, so each frame suspends the handler until the browser's next
// animation frame (see platform/Browser.h), and the page stays responsive
// while the horses run. A display faster than 60 Hz gets as many animation
// frames as it takes to make one game frame of a 60th of a second, so the race
// lasts as long as on the desktop; a tab the player has switched away from
// gets no animation frames, and the race waits there until the player is back.
class BrowserPacer final : public FramePacer {
public:
    void start() override;
    void frame() override;

private:
    double lastFrame_ = 0; // ms, the browser's frame time
};
using GamePacer = BrowserPacer;
#else
// The pacer the game runs with on this system.
using GamePacer = DisplayPacer;
#endif
