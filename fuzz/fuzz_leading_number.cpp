// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The amount boxes' leading-number reader on any text: the value is never
// NaN, the shortest text of a finite value reads back as the same value, and
// the value is the one the C library's own conversion gives for the part of
// the text the rule takes as the number.

#include "FuzzCheck.h"
#include "FuzzText.h"
#include "platform/GameLocale.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// The rule written out again, independently: the number's characters as
// plain ASCII, for strtod. Full-width forms count as half-width; blanks, tabs,
// line feeds and carriage returns are skipped.
FUZZ_HARNESS std::string numberPrefix(const QString &text)
{
    std::string chars;
    chars.reserve(std::size_t(text.size()));
    for (const QChar qc : text) {
        char16_t c = qc.unicode();
        if (c >= 0xFF10 && c <= 0xFF19)
            c = char16_t('0' + (c - 0xFF10));
        else if (c == 0xFF0B)
            c = '+';
        else if (c == 0xFF0D)
            c = '-';
        else if (c == 0xFF0E)
            c = '.';
        else if (c == 0x3000)
            c = ' ';
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        chars.push_back(c < 0x80 ? char(c) : '?');
    }

    std::size_t i = 0;
    const auto digit = [&](std::size_t at) { return at < chars.size() && chars[at] >= '0' && chars[at] <= '9'; };
    if (i < chars.size() && (chars[i] == '+' || chars[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    while (digit(i))
        ++i;
    bool anyDigit = i > mantissa;
    if (i < chars.size() && chars[i] == '.') {
        ++i;
        const std::size_t fraction = i;
        while (digit(i))
            ++i;
        anyDigit = anyDigit || i > fraction;
    }
    if (!anyDigit)
        return "0";
    std::size_t end = i;
    if (i < chars.size() && (chars[i] == 'e' || chars[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < chars.size() && (chars[j] == '+' || chars[j] == '-'))
            ++j;
        const std::size_t exponent = j;
        while (digit(j))
            ++j;
        if (j > exponent)
            end = j; // an exponent without digits is no exponent
    }
    return chars.substr(0, end);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setGameLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    const double value = readLeadingNumber(text);
    FUZZ_CHECK(!std::isnan(value), "text \"%s\"", printable(text).c_str());
    FUZZ_CHECK(!(value == 0.0 && std::signbit(value)), "negative zero from \"%s\"", printable(text).c_str());

    // strtod reads the C locale's decimal point, and this program never sets another.
    const std::string prefix = numberPrefix(text);
    const double expected = std::strtod(prefix.c_str(), nullptr);
    FUZZ_CHECK(value == expected, "text \"%s\" read %.17g, strtod(\"%s\") gives %.17g",
               printable(text).c_str(), value, prefix.substr(0, 200).c_str(), expected);

    if (std::isfinite(value)) {
        for (const QString &written : {QString::number(value, 'g', 17),
                                       QString::number(value, 'g', QLocale::FloatingPointShortest)}) {
            const double again = readLeadingNumber(written);
            FUZZ_CHECK(again == value, "%.17g written \"%s\" reads back %.17g", value,
                       printable(written).c_str(), again);
        }
    }
    return 0;
}
