// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

class BeepService;
class FramePacer;
class MessageService;
class RandomGenerator;

// What the game's windows need from the desktop, handed in so tests can
// script every answer, beep, draw and frame.
struct GameServices {
    MessageService &messages;
    BeepService &beep;
    RandomGenerator &random;
    FramePacer &pacer;
};
