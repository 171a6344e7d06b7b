// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// The player's view of a window: every control lies inside the client area,
// no two visible controls overlap, and every label and button shows its text
// whole. Looks at the window's own controls, or those on its background
// picture (a child named "client"), and inside any frame among them.
void expectLaidOut(QWidget *window);
