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

// Whether the whole text is a number in the ordinary sense, and which: after
// surrounding blanks are trimmed, an optional sign, an optional currency sign
// (￥, ¥ or the backslash of a Japanese yen key), an optional sign (one sign at
// most in all), digits with "," between digits, an optional full stop and
// digits; or such a number without a sign in parentheses, which is negative.
// No exponent. "￥1,000" is 1000; "12abc" and "1e3" are not numbers.
std::optional<double> convertNumber(QStringView text);
