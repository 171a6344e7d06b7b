#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

struct Reading {
    QString text;
    double expected;
};

void expectReadings(const std::vector<Reading> &table)
{
    for (const Reading &r : table) {
        const double got = readLeadingNumber(r.text);
        EXPECT_EQ(got, r.expected) << "reading \"" << qPrintable(r.text) << '"';
        EXPECT_FALSE(std::signbit(got) && got == 0.0) << "negative zero from \"" << qPrintable(r.text) << '"';
    }
}

struct Conversion {
    QString text;
    std::optional<double> expected;
};

void expectConversions(const std::vector<Conversion> &table)
{
    for (const Conversion &c : table) {
        const std::optional<double> got = convertNumber(c.text);
        EXPECT_EQ(got, c.expected) << "converting \"" << qPrintable(c.text) << '"';
        if (got && *got == 0.0) {
            EXPECT_FALSE(std::signbit(*got)) << "negative zero from \"" << qPrintable(c.text) << '"';
        }
    }
}

// The exact binary value halfway between 1 and the next double: a tie that
// rounds to even (1) unless any later digit, however far, is not zero.
const QString HalfPastOne = QStringLiteral("1.00000000000000011102230246251565404236316680908203125");

TEST(ReadLeadingNumber, StopsAtTheFirstCharacterThatCannotContinue)
{
    expectReadings({
        {"", 0},
        {"1500", 1500},
        {"1,000", 1},
        {QString::fromUtf8("￥1,000"), 0},
        {"12abc", 12},
        {"abc", 0},
        {"2.5", 2.5},
        {"-300", -300},
        {"+5", 5},
        {"-.5", -0.5},
        {".", 0},
        {"-", 0},
        {"+-1", 0},
        {"--1", 0},
        {"-0", 0},
        {"00012", 12},
        {"1.2.3", 1.2},
        {"1.", 1},
        {"0x10", 0},
        {"1_000", 1},
        {"(1500)", 0},
    });
}

TEST(ReadLeadingNumber, Exponent)
{
    expectReadings({
        {"1e3", 1000},
        {"1E3", 1000},
        {"1e+2", 100},
        {"1E-2", 0.01},
        {"2.5e1", 25},
        {".5e1", 5},
        {"1e", 1},
        {"1e+", 1},
        {"1e-x", 1},
        {"1e3.5", 1000},
        {"1e3e4", 1000},
        {"e5", 0},
        {".e5", 0},
        {"1d3", 1},
    });
}

TEST(ReadLeadingNumber, BlanksTabsAndLineBreaksAnywhereAreIgnored)
{
    expectReadings({
        {"1 2 3", 123},
        {" \t\n\r1\t5 0\n0", 1500},
        {"- 1 . 5", -1.5},
        {"1 e 2", 100},
        {"1e - 2", 0.01},
        {"1500\r\n", 1500},
        {"15\r\n00", 1500},
        // Other white space and control characters end the number.
        {QString::fromUtf8("1\u00A02"), 1},
        {"1\v2", 1},
        {"1\f2", 1},
        {QString::fromUtf8("1\u20002"), 1},
    });
    EXPECT_EQ(readLeadingNumber(QStringView(u"12\0" "3", 4)), 12);
}

TEST(ReadLeadingNumber, FullWidthFormsReadAsHalfWidth)
{
    expectReadings({
        {QString::fromUtf8("１５００"), 1500},
        {QString::fromUtf8("－３．５"), -3.5},
        {QString::fromUtf8("＋７"), 7},
        {QString::fromUtf8("　１　２　"), 12},
        {QString::fromUtf8("１e３"), 1000},
        {QString::fromUtf8("１５0０"), 1500},
        // Only digits, signs, full stop and the ideographic space are mapped.
        {QString::fromUtf8("１ｅ３"), 1},
        {QString::fromUtf8("１，０００"), 1},
        {QString::fromUtf8("−５"), 0}, // U+2212 is not a full-width form
    });
}

TEST(ReadLeadingNumber, RangeEdges)
{
    const double max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    expectReadings({
        {"1e400", Inf},
        {"-1e400", -Inf},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"1e99999999999999999999999999", Inf},
        {"-1e99999999999999999999999999", -Inf},
        {"1e-99999999999999999999999999", 0},
        {"0e99999999999999999999999999", 0},
        {"1.7976931348623157e308", max},
        {"1.7976931348623158e308", max},
        {"1.7976931348623159e308", Inf},
        {"4.9406564584124654e-324", tiny},
        {"2.5e-324", tiny},
        {"2.4e-324", 0},
        {"0.001e311", 1e308},
        {"1000e-311", 1e-308},
    });
}

TEST(ReadLeadingNumber, EveryDigitCountsInTheRounding)
{
    const QString zeros(1000, u'0');
    expectReadings({
        {HalfPastOne, 1.0},
        {HalfPastOne + zeros, 1.0},
        {HalfPastOne + zeros + "1", std::nextafter(1.0, 2.0)},
        // The same tie spread over the integer digits, with an exponent.
        {"100000000000000011102230246251565404236316680908203125" + zeros + "e-1053", 1.0},
        {"100000000000000011102230246251565404236316680908203125" + zeros + "1e-1054",
         std::nextafter(1.0, 2.0)},
        // Leading zeros, in the integer part and after the point, only shift.
        {zeros + "42", 42},
        {"0." + zeros + "1e1001", 1},
        {"1" + QString(400, u'0'), Inf},
        {"1" + QString(400, u'0') + "e-400", 1},
        {"2" + QString(100000, u'0') + "e-100000", 2},
    });
}

// Texts of 100000 characters: long runs of digits, blanks, separators and
// parentheses, far past the digits that decide a double. How the reading time
// grows with the length is measured by `make bench` (number_text_scaling), not
// here, where the machine's speed would decide the outcome.
TEST(ReadLeadingNumber, LongTexts)
{
    const qsizetype n = 100000;
    const std::vector<std::pair<QString, double>> texts = {
        {QString(n, u'9'), Inf},
        {"0." + QString(n, u'0') + "1e100005", 1e4},
        {QString(n, u' ') + "5", 5},
        {QString(n, QChar(0x3000)) + "5", 5},
        {QString("1 ").repeated(n / 2), Inf},
        {"7" + QString(n, u'a'), 7},
        {"1e" + QString(n, u'9'), Inf},
        {QString::fromUtf8("１").repeated(n), Inf},
    };
    for (const auto &[text, expected] : texts)
        EXPECT_EQ(readLeadingNumber(text), expected) << qPrintable(text.left(12));
}

TEST(ConvertNumber, Accepted)
{
    expectConversions({
        {"1500", 1500},
        {"1,000", 1000},
        {"1,000,000", 1000000},
        {"1,0,0", 100},
        {"1,000.25", 1000.25},
        {"2.5", 2.5},
        {"1.", 1},
        {".5", 0.5},
        {"-1500", -1500},
        {"+1500", 1500},
        {QString::fromUtf8("￥1,000"), 1000},
        {QString::fromUtf8("¥1,000"), 1000},
        {"\\1,000", 1000},
        {QString::fromUtf8("-￥1,500"), -1500},
        {QString::fromUtf8("￥-1,500"), -1500},
        {QString::fromUtf8("+￥5"), 5},
        {QString::fromUtf8("￥.5"), 0.5},
        {"(1,500)", -1500},
        {QString::fromUtf8("(￥1,500)"), -1500},
        {"(.5)", -0.5},
        {"-0", 0},
        {"(0)", 0},
        {"  1500\t", 1500},
        {"\n1500\r\n", 1500},
        {QString::fromUtf8("\u00A01500\u00A0"), 1500},
        {"0." + QString(400, u'0') + "1", 0},
    });
}

TEST(ConvertNumber, Refused)
{
    expectConversions({
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1e3", std::nullopt},
        {"1E3", std::nullopt},
        {",1", std::nullopt},
        {"1,", std::nullopt},
        {"1,,0", std::nullopt},
        {"1,.5", std::nullopt},
        {"1.000,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"-.", std::nullopt},
        {QString::fromUtf8("￥"), std::nullopt},
        {QString::fromUtf8("￥,1"), std::nullopt},
        {"--5", std::nullopt},
        {"+-5", std::nullopt},
        {QString::fromUtf8("-￥-5"), std::nullopt},
        {QString::fromUtf8("￥￥5"), std::nullopt},
        {"1500-", std::nullopt},
        {"1 500", std::nullopt},
        {"- 1500", std::nullopt},
        {QString::fromUtf8("￥ 1500"), std::nullopt},
        {"()", std::nullopt},
        {"(-1500)", std::nullopt},
        {"-(1500)", std::nullopt},
        {"(1500", std::nullopt},
        {"1500)", std::nullopt},
        {"((1500))", std::nullopt},
        {"( 1500 )", std::nullopt},
        {"$1500", std::nullopt},
        {"1500\v2", std::nullopt},
        {"1" + QString(400, u'0'), std::nullopt}, // beyond a double
    });
}

TEST(ConvertNumber, FullWidthForms)
{
    expectConversions({
        {QString::fromUtf8("１５００"), 1500},
        {QString::fromUtf8("－１５００"), -1500},
        {QString::fromUtf8("＋１５００"), 1500},
        {QString::fromUtf8("１．５"), 1.5},
        {QString::fromUtf8("　１５００　"), 1500},
        {QString::fromUtf8("￥１,５００"), 1500},
        {QString::fromUtf8("１，５００"), std::nullopt},
        {QString::fromUtf8("（１５００）"), std::nullopt},
        {QString::fromUtf8("１５　００"), std::nullopt},
    });
}

TEST(ConvertNumber, LongTexts)
{
    const qsizetype n = 100000;
    const std::vector<std::pair<QString, std::optional<double>>> texts = {
        {QString(n, u'9'), std::nullopt},
        {"1" + QString(",000").repeated(n / 4), std::nullopt},
        {QString("1,").repeated(n / 2) + "x", std::nullopt},
        {"0." + QString(n, u'0') + "5", 0},
        {QString(n, u' ') + "5" + QString(n, u' '), 5},
        {"(" + QString(n, u'(') + "1" + QString(n, u')'), std::nullopt},
        {QString(n, u',') + "1", std::nullopt},
    };
    for (const auto &[text, expected] : texts)
        EXPECT_EQ(convertNumber(text), expected) << qPrintable(text.left(12));
}

TEST(NumberReaders, AgreeOnTheValueOfEveryPlainNumber)
{
    // Where both read a number without separators or currency sign, they
    // read the same one.
    for (const char *text : {"0", "7", "-7", "2.5", "-0.5", ".25", "1.", "123456789.125", "1e0"}) {
        const std::optional<double> converted = convertNumber(QString::fromLatin1(text));
        if (converted) {
            EXPECT_EQ(*converted, readLeadingNumber(QString::fromLatin1(text))) << text;
        }
    }
}

} // namespace
