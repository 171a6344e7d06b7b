// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// Reading numbers from what the player types into an amount box. Both readers
// take full-width digits, signs, full stop and the ideographic space as their
// half-width forms, since a Japanese player pastes them.

#include <QStringView>

#include <optional>

// The amount boxes' leading-number rule: blanks, tabs and line breaks anywhere
// are ignored; an optional sign, digits, one full stop, an optional exponent
// (E or e, optional sign, digits); reading stops at the first character that
// cannot continue the number. No number reads as 0; "1,000" reads 1.
// Beyond the range of a double the result is +-infinity ("1e400").
double readLeadingNumber(QStringView text);

// Whether the whole text is a number in the ordinary sense of the game
// locale, and which: after surrounding blanks are trimmed, an optional sign,
// digits with the locale's group separator between digits, an optional
// decimal point (the locale's) and digits, and the currency mark where the
// locale writes it, with a sign before or after a mark that comes first (one
// sign at most in all); or such a number without a sign in parentheses, which
// is negative. No exponent. Signs are the locale's and the keyboard's "-" and
// "+"; a space-like group separator may be typed as any of the ordinary, the
// no-break and the narrow no-break space. Under Japanese settings the marks
// are ￥, ¥ and the backslash of a Japanese yen key: "￥1,000" is 1000. Elsewhere
// they are the locale's currency symbol and ISO code: "1.234,50 €" and
// "-15 EUR" under German settings, "£800" under British ones. "12abc" and "1e3"
// are not numbers.
std::optional<double> convertNumber(QStringView text);
