// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// Ends the program's event loop with the status once the running handler
// returns. On the desktop the program then ends; a web page cannot end its
// program, so it is told instead, and says that the game has ended.
void endProgram(int status);
