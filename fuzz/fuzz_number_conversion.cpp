// The ordinary number conversion on any text, against the rule written out
// again here; and every number it finds, shown as Japanese currency text,
// converts back to the same number rounded to whole yen.

#include "FuzzCheck.h"
#include "FuzzText.h"
#include "platform/GameLocale.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

FUZZ_HARNESS bool isYen(char16_t c)
{
    return c == u'\\' || c == 0xA5 || c == 0xFFE5;
}

// The conversion written out again as plain string checks, with strtod for
// the value: trim, take off the parentheses, split off the run of signs and
// currency signs at the front, and check what each part may hold.
FUZZ_HARNESS std::optional<double> expectedConversion(const QString &input)
{
    std::u16string text;
    text.reserve(std::size_t(input.size()));
    for (const QChar qc : input) {
        const char16_t c = qc.unicode();
        if (c >= 0xFF10 && c <= 0xFF19)
            text += char16_t(u'0' + (c - 0xFF10));
        else if (c == 0xFF0B)
            text += u'+';
        else if (c == 0xFF0D)
            text += u'-';
        else if (c == 0xFF0E)
            text += u'.';
        else
            text += c; // the ideographic space is white space already
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

    std::size_t start = 0;
    int signs = 0, yens = 0;
    bool negative = parenthesized;
    for (; start < body.size() && (body[start] == u'+' || body[start] == u'-' || isYen(body[start])); ++start) {
        if (isYen(body[start])) {
            ++yens;
        } else {
            ++signs;
            negative = negative || body[start] == u'-';
        }
    }
    if (yens > 1 || signs > 1 || (parenthesized && signs > 0))
        return std::nullopt;

    const std::u16string number = body.substr(start);
    const std::size_t point = number.find(u'.');
    const std::u16string whole = number.substr(0, point);
    const std::u16string fraction = point == std::u16string::npos ? std::u16string() : number.substr(point + 1);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (!whole.empty() && (whole.front() == u',' || whole.back() == u','))
        return std::nullopt;
    if (whole.find(u",,") != std::u16string::npos)
        return std::nullopt;
    std::string plain = negative ? "-" : "";
    for (const char16_t c : whole) {
        if (c >= u'0' && c <= u'9')
            plain.push_back(char(c));
        else if (c != u',')
            return std::nullopt;
    }
    plain.push_back('.');
    for (const char16_t c : fraction) {
        if (!(c >= u'0' && c <= u'9'))
            return std::nullopt;
        plain.push_back(char(c));
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value + 0.0; // no negative zero
}

void checkCurrencyRoundTrip(double value)
{
    const QString shown = currencyText(value);
    const std::optional<double> back = convertNumber(shown);
    FUZZ_CHECK(back.has_value(), "%.17g shown as \"%s\" does not convert", value, printable(shown).c_str());
    FUZZ_CHECK(*back == std::round(value), "%.17g shown as \"%s\" converts to %.17g", value,
               printable(shown).c_str(), *back);
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
    const std::optional<double> value = convertNumber(text);
    const std::optional<double> expected = expectedConversion(text);
    FUZZ_CHECK(value.has_value() == expected.has_value() && (!value || *value == *expected),
               "\"%s\" converts to %s%.17g, expected %s%.17g", printable(text).c_str(),
               value ? "" : "nothing ", value.value_or(0), expected ? "" : "nothing ",
               expected.value_or(0));
    if (value) {
        FUZZ_CHECK(std::isfinite(*value) && !(*value == 0 && std::signbit(*value)),
                   "\"%s\" converts to %.17g", printable(text).c_str(), *value);
        checkCurrencyRoundTrip(*value);
    }

    // The input's first bytes as a double and as a whole amount, too.
    if (size >= 8) {
        double bits;
        std::int64_t whole;
        std::memcpy(&bits, data, 8);
        std::memcpy(&whole, data, 8);
        if (std::isfinite(bits))
            checkCurrencyRoundTrip(bits);
        const QString shown = currencyText(whole);
        FUZZ_CHECK(convertNumber(shown) == double(whole), "%lld shown as \"%s\"",
                   static_cast<long long>(whole), printable(shown).c_str());
    }
    return 0;
}
