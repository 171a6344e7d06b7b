// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The six pairs by the digits their controls' names end in (chk12 ... txt34),
// in pair-code order: PairDigits[code - 1]. Plain C++, so the reference model
// and the Qt-free tests can use it too.

#include <cstring>

inline constexpr const char *PairDigits[6] = {"12", "13", "14", "23", "24", "34"};

// The pair code (1..6) of a pair's digits; 0 for digits that name no pair.
inline int pairCodeOf(const char *digits)
{
    for (int i = 0; i < 6; ++i) {
        if (std::strcmp(PairDigits[i], digits) == 0)
            return i + 1;
    }
    return 0;
}
