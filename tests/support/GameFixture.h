#pragma once

#include "tests/support/TestServices.h"
#include "windows/Game.h"

// The whole program with scripted services: the splash, the main window it
// builds and the side windows, not yet started.
struct ScriptedGame {
    ScriptedMessages messages;
    CountingBeep beep;
    ScriptedRandom random;
    CountingPacer pacer;
    Game game{GameServices{messages, beep, random, pacer}};
};
