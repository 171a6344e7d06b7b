// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/TestServices.h"
#include "windows/Program.h"

// The whole program with scripted services: the splash, the main window it
// builds and the side windows, not yet started.
struct ScriptedProgram {
    ScriptedMessages messages;
    CountingBeep beep;
    ScriptedRandom random;
    CountingPacer pacer;
    Program program{GameServices{messages, beep, random, pacer}};
};
