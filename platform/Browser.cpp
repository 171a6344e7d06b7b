// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/Browser.h"

#include <QtGlobal>
#include <emscripten.h>

namespace {
// The page's own requestAnimationFrame: its callback comes once the browser
// has painted the frame before, and its time is the frame's.
EM_ASYNC_JS(double, rumidaNextAnimationFrame, (), {
    return await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

// Waits for rumidaWake(). The promise's resolution resumes the waiting handler
// in a microtask, which the browser runs as soon as the handler that woke it
// has returned, before the next input event.
EM_ASYNC_JS(void, rumidaWaitForWake, (), {
    await new Promise(function(resolve) { Module.rumidaWake = resolve; });
});

EM_JS(void, rumidaWake, (), {
    var wake = Module.rumidaWake;
    Module.rumidaWake = undefined;
    if (wake)
        wake();
});

bool suspended = false;

// Marks the handler suspended for as long as it waits.
class Suspension {
public:
    Suspension()
    {
        if (suspended)
            qFatal("A handler began to wait while another was waiting: the page can resume only one");
        suspended = true;
    }
    ~Suspension() { suspended = false; }
    Suspension(const Suspension &) = delete;
    Suspension &operator=(const Suspension &) = delete;
};

// A 0.15 s tone at 880 Hz, fading out: the page's stand-in for the
// desktop's warning sound. Browsers start the sound only after the player
// has touched the page, which a refused stake always follows.
EM_JS(void, rumidaBeep, (), {
    try {
        var AudioContext = window.AudioContext || window.webkitAudioContext;
        if (!AudioContext)
            return;
        if (!Module.rumidaAudio)
            Module.rumidaAudio = new AudioContext();
        var audio = Module.rumidaAudio;
        if (audio.state === 'suspended')
            audio.resume();
        var tone = audio.createOscillator();
        var volume = audio.createGain();
        tone.type = 'sine';
        tone.frequency.value = 880;
        volume.gain.setValueAtTime(0.2, audio.currentTime);
        volume.gain.exponentialRampToValueAtTime(0.001, audio.currentTime + 0.15);
        tone.connect(volume);
        volume.connect(audio.destination);
        tone.start();
        tone.stop(audio.currentTime + 0.15);
    } catch (e) {
        // No sound to be had: the refusal still shows in the emptied box.
    }
});

// The page listens for this event (web/page.js).
EM_JS(void, rumidaAnnounceEnd, (int status), {
    window.dispatchEvent(new CustomEvent('rumida-ended', {detail: {status: status}}));
});
} // namespace

double Browser::nextAnimationFrame()
{
    const Suspension suspension;
    return rumidaNextAnimationFrame();
}

void Browser::waitForWake()
{
    const Suspension suspension;
    rumidaWaitForWake();
}

void Browser::wake()
{
    rumidaWake();
}

void Browser::beep()
{
    rumidaBeep();
}

void Browser::announceEnd(int status)
{
    rumidaAnnounceEnd(status);
}
