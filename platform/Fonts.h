// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

namespace Fonts {
// "ＭＳ Ｐゴシック" where the desktop has it, else an installed proportional
// Japanese face: fontconfig knows no alias for it and would pick a Latin one.
QFont japanese(double pointSize, bool bold = false);

// The windows' default font: proportional Japanese at 9 pt.
QFont windowDefault();

// Makes windowDefault() the application font.
void install();
} // namespace Fonts
