// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The ordinary number conversion on any text under several locales, against
// the rule written out again here from a table of each locale's conventions;
// and every number it finds, shown as currency text, converts back to a
// number that shows the same (under Japanese settings: the number rounded to
// whole yen).

#include "FuzzCheck.h"
#include "FuzzText.h"
#include "platform/GameLocale.h"
#include "platform/NumberText.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// How a locale writes amounts, written out by hand from its regional
// settings; the start checks each against what Qt says.
struct Convention {
    const char *name;
    std::vector<std::u16string> signs; // '-' first, then the locale's minus, then the plus signs
    std::size_t minusSigns;            // how many of `signs` are minus signs
    std::u16string decimalPoint;
    std::u16string separators; // single characters
    std::vector<std::u16string> marks;
    std::u16string isoCode; // empty where the code is no mark
    char16_t zero;
    bool markLast;
    bool markBlank;
    const char16_t *qtShows; // Qt's currency text of -1234.5, to check the table with
};

const std::u16string Blanks = u" \u00A0\u202F";

const std::vector<Convention> &conventions()
{
    static const std::vector<Convention> table = {
        {"ja_JP", {u"-", u"+"}, 1, u".", u",", {u"\uFFE5", u"\u00A5", u"\\"}, u"", u'0', false, false,
         u"(\uFFE51,235)"},
        {"en_US", {u"-", u"+"}, 1, u".", u",", {u"$", u"USD"}, u"USD", u'0', false, false, u"($1,234.50)"},
        {"en_GB", {u"-", u"+"}, 1, u".", u",", {u"\u00A3", u"GBP"}, u"GBP", u'0', false, false,
         u"(\u00A31,234.50)"},
        {"de_DE", {u"-", u"+"}, 1, u",", u".", {u"\u20AC", u"EUR"}, u"EUR", u'0', true, true,
         u"-1.234,50\u00A0\u20AC"},
        {"fr_FR", {u"-", u"+"}, 1, u",", u"\u202F \u00A0", {u"\u20AC", u"EUR"}, u"EUR", u'0', true, true,
         u"(1\u202F234,50\u00A0\u20AC)"},
        {"de_CH", {u"-", u"+"}, 1, u".", u"\u2019'", {u"CHF"}, u"CHF", u'0', true, true,
         u"-1\u2019234.50\u00A0CHF"},
        {"sv_SE", {u"-", u"\u2212", u"+"}, 2, u",", u"\u00A0 \u202F", {u"kr", u"SEK"}, u"SEK", u'0', true,
         true, u"\u22121\u00A0234,50\u00A0kr"},
        {"pt_BR", {u"-", u"+"}, 1, u",", u".", {u"R$", u"BRL"}, u"BRL", u'0', false, true,
         u"R$\u00A0-1.234,50"},
        {"nl_NL", {u"-", u"+"}, 1, u",", u".", {u"\u20AC", u"EUR"}, u"EUR", u'0', false, true,
         u"(\u20AC\u00A01.234,50)"},
        {"ar_EG", {u"-", u"\u061C-", u"\u061C+", u"+"}, 2, u"\u066B", u"\u066C",
         {u"\u062C.\u0645.\u200F", u"EGP"}, u"EGP", u'\u0660', true, true,
         u"\u061C-\u0661\u066C\u0662\u0663\u0664\u066B\u0665\u0660\u00A0\u062C.\u0645.\u200F"},
    };
    return table;
}

// Everything that may stand before the digits (mark first) or after them (mark
// last): every pairing of sign, mark and blank the rule allows, listed in full.
struct Affixes {
    std::set<std::u16string> before, after, beforeInParentheses;
};

Affixes affixes(const Convention &c)
{
    Affixes a;
    std::vector<std::u16string> signs = c.signs;
    signs.push_back(u"");
    std::vector<std::u16string> marks = c.marks;
    marks.push_back(u"");
    for (const std::u16string &mark : marks) {
        std::vector<std::u16string> blanks = {u""};
        if (!mark.empty() && (c.markBlank || mark == c.isoCode))
            for (const char16_t b : Blanks)
                blanks.push_back(std::u16string(1, b));
        for (const std::u16string &blank : blanks) {
            const std::u16string marked = c.markLast ? blank + mark : mark + blank;
            if (c.markLast) {
                a.after.insert(marked);
                continue;
            }
            a.beforeInParentheses.insert(marked);
            for (const std::u16string &first : signs)
                for (const std::u16string &second : signs)
                    if (first.empty() || second.empty())
                        a.before.insert(first + marked + second);
        }
    }
    if (c.markLast) {
        a.before.insert(signs.begin(), signs.end());
        a.beforeInParentheses.insert(u"");
    } else {
        a.after.insert(u"");
    }
    return a;
}

// The digits (0-9 or the locale's own, already turned into 0-9), separators
// and decimal point of the number, as strtod reads it; nothing if it is not one.
FUZZ_HARNESS std::optional<double> numberValue(const Convention &c, const std::u16string &number, bool negative)
{
    const std::size_t point = number.find(c.decimalPoint);
    const std::u16string whole = number.substr(0, point);
    const std::u16string fraction =
        point == std::u16string::npos ? std::u16string() : number.substr(point + c.decimalPoint.size());
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    std::string plain = negative ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const char16_t ch = whole[i];
        if (ch >= u'0' && ch <= u'9') {
            plain.push_back(char(ch));
            continue;
        }
        const bool separator = c.separators.find(ch) != std::u16string::npos;
        const bool betweenDigits = i > 0 && i + 1 < whole.size() && whole[i - 1] >= u'0' && whole[i - 1] <= u'9'
            && whole[i + 1] >= u'0' && whole[i + 1] <= u'9';
        if (!separator || !betweenDigits)
            return std::nullopt;
    }
    plain.push_back('.');
    for (const char16_t ch : fraction) {
        if (!(ch >= u'0' && ch <= u'9'))
            return std::nullopt;
        plain.push_back(char(ch));
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value + 0.0; // no negative zero
}

// The conversion written out again: fold, trim, take off the parentheses,
// cut the text where the digits begin and end, and look the pieces before
// and after up among every form the locale allows.
FUZZ_HARNESS std::optional<double> expectedConversion(const Convention &c, const Affixes &a, const QString &input)
{
    std::u16string text;
    for (const QChar qc : input) {
        const char16_t ch = qc.unicode();
        if (ch >= 0xFF10 && ch <= 0xFF19)
            text += char16_t(u'0' + (ch - 0xFF10));
        else if (c.zero != u'0' && ch >= c.zero && ch <= c.zero + 9)
            text += char16_t(u'0' + (ch - c.zero));
        else if (ch == 0xFF0B || ch == 0xFF0D || ch == 0xFF0E)
            text += char16_t(ch - 0xFF0B + u'+'); // ＋ － ． are + - . moved up alike
        else if (ch == 0x3000)
            text += u' ';
        else
            text += ch;
    }
    std::size_t begin = 0, end = text.size();
    while (begin < end && QChar(text[begin]).isSpace())
        ++begin;
    while (end > begin && QChar(text[end - 1]).isSpace())
        --end;
    std::u16string body = text.substr(begin, end - begin);
    const bool parenthesized = body.size() >= 2 && body.front() == u'(' && body.back() == u')';
    if (parenthesized)
        body = body.substr(1, body.size() - 2);

    // The number starts at its first digit or decimal point and ends after its
    // last digit, or after a decimal point straight after it ("1,").
    const auto isDigitAt = [&](std::size_t i) { return body[i] >= u'0' && body[i] <= u'9'; };
    std::size_t first = 0;
    while (first < body.size() && !isDigitAt(first) && body.compare(first, c.decimalPoint.size(), c.decimalPoint) != 0)
        ++first;
    std::size_t last = body.size();
    while (last > first && !isDigitAt(last - 1))
        --last;
    if (last > first && body.compare(last, c.decimalPoint.size(), c.decimalPoint) == 0)
        last += c.decimalPoint.size();
    if (last <= first)
        last = std::min(body.size(), first + c.decimalPoint.size()); // a lone point
    const std::u16string before = body.substr(0, first);
    const std::u16string after = body.substr(last);
    if (!(parenthesized ? a.beforeInParentheses : a.before).count(before) || !a.after.count(after))
        return std::nullopt;
    bool negative = parenthesized;
    for (std::size_t s = 0; s < c.minusSigns; ++s)
        negative = negative || before.find(c.signs[s]) != std::u16string::npos;
    return numberValue(c, body.substr(first, last - first), negative);
}

// The number's currency text converts back to a number with the same text;
// under Japanese settings that is the number rounded to whole yen.
void checkCurrencyRoundTrip(const Convention &c, double value)
{
    const QString shown = currencyText(value);
    const std::optional<double> back = convertNumber(shown);
    FUZZ_CHECK(back.has_value(), "%s: %.17g shown as \"%s\" does not convert", c.name, value,
               printable(shown).c_str());
    FUZZ_CHECK(currencyText(*back) == shown, "%s: %.17g shown as \"%s\" converts to %.17g", c.name, value,
               printable(shown).c_str(), *back);
    if (std::strcmp(c.name, "ja_JP") == 0)
        FUZZ_CHECK(*back == std::round(value), "%s: %.17g shown as \"%s\" converts to %.17g", c.name, value,
                   printable(shown).c_str(), *back);
}

void checkUnder(const Convention &c, const Affixes &a, const QString &text, const std::uint8_t *data,
                std::size_t size)
{
    const std::optional<double> value = convertNumber(text);
    const std::optional<double> expected = expectedConversion(c, a, text);
    FUZZ_CHECK(value.has_value() == expected.has_value() && (!value || *value == *expected),
               "%s: \"%s\" converts to %s%.17g, expected %s%.17g", c.name, printable(text).c_str(),
               value ? "" : "nothing ", value.value_or(0), expected ? "" : "nothing ", expected.value_or(0));
    if (value) {
        FUZZ_CHECK(std::isfinite(*value) && !(*value == 0 && std::signbit(*value)), "%s: \"%s\" converts to %.17g",
                   c.name, printable(text).c_str(), *value);
        checkCurrencyRoundTrip(c, *value);
    }

    // The input's first bytes as a double and as a whole amount, too.
    if (size >= 8) {
        double bits;
        std::int64_t whole;
        std::memcpy(&bits, data, 8);
        std::memcpy(&whole, data, 8);
        if (std::isfinite(bits))
            checkCurrencyRoundTrip(c, bits);
        const QString shown = currencyText(whole);
        FUZZ_CHECK(convertNumber(shown) == double(whole), "%s: %lld shown as \"%s\"", c.name,
                   static_cast<long long>(whole), printable(shown).c_str());
    }
}

std::vector<std::pair<QLocale, Affixes>> &locales()
{
    static std::vector<std::pair<QLocale, Affixes>> list;
    return list;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    for (const Convention &c : conventions()) {
        const QLocale locale{QString::fromLatin1(c.name)};
        const QString shown = locale.toCurrencyString(-1234.5);
        FUZZ_CHECK(locale.name() == QLatin1String(c.name) && shown == QString::fromStdU16String(c.qtShows),
                   "the table's %s does not match Qt's: %s", c.name, printable(shown).c_str());
        FUZZ_CHECK(QString::fromStdU16String(c.decimalPoint) == locale.decimalPoint()
                       && c.separators.find(locale.groupSeparator().front().unicode()) != std::u16string::npos,
                   "the table's %s separators do not match Qt's", c.name);
        locales().emplace_back(locale, affixes(c));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    for (std::size_t i = 0; i < conventions().size(); ++i) {
        setGameLocale(locales()[i].first);
        checkUnder(conventions()[i], locales()[i].second, text, data, size);
    }
    return 0;
}
