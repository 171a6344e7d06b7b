// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/GameLocale.h"
#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <QLocale>
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

// The conversion under the settings of players elsewhere; each test pins its
// locale and the Japanese settings come back afterwards.
class ConvertNumberUnder : public ::testing::Test {
protected:
    void use(const char *name) { setGameLocale(QLocale(QString::fromLatin1(name))); }
    void TearDown() override { setGameLocale(QLocale(QLocale::Japanese, QLocale::Japan)); }
};

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

TEST_F(ConvertNumberUnder, GermanSettingsSwapPointAndComma)
{
    use("de_DE");
    expectConversions({
        {"1,5", 1.5},
        {"1.000", 1000},
        {"1,000", 1}, // a comma is the decimal point here
        {"1.000,5", 1000.5},
        {"1.234.567,89", 1234567.89},
        {"1.0.0", 100}, // groups need not be of three, as "1,0,0" under Japanese settings
        {",5", 0.5},
        {"1,", 1},
        {utf8("１,５"), 1.5},
        {utf8("１．０００"), 1000}, // the full-width full stop is a full stop, the separator here
        // A full stop is never a decimal point here, and a comma never a separator.
        {"1,000.5", std::nullopt},
        {"1,5,0", std::nullopt},
        {".5", std::nullopt},
        {"1.", std::nullopt},
        {"1.,5", std::nullopt},
        {"1..000", std::nullopt},
        {"1 000", std::nullopt},
        {utf8("1\u202F000"), std::nullopt},
        {"1e3", std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, GermanCurrencyFormsTheSymbolLast)
{
    use("de_DE");
    expectConversions({
        {utf8("15,00\u00A0€"), 15},
        {utf8("15,00 €"), 15},
        {utf8("15,00€"), 15},
        {utf8("1.234,50 €"), 1234.5},
        {"15 EUR", 15},
        {"15EUR", 15},
        {utf8("-15,00 €"), -15},
        {utf8("+15,00 €"), 15},
        {"-1.500,50 EUR", -1500.5},
        {utf8("(15,00 €)"), -15},
        {utf8("1, €"), 1},
        {utf8("€15"), std::nullopt}, // not where the locale writes it
        {utf8("€ 15"), std::nullopt},
        {utf8("15 €-"), std::nullopt},
        {utf8("15- €"), std::nullopt},
        {utf8("15 -€"), std::nullopt},
        {utf8("- 15 €"), std::nullopt},
        {utf8("--15 €"), std::nullopt},
        {utf8("(-15 €)"), std::nullopt},
        {utf8("15  €"), std::nullopt},
        {utf8("15\t€"), std::nullopt},
        {utf8("15 € 5"), std::nullopt},
        {utf8("15 €€"), std::nullopt},
        {utf8("15 € EUR"), std::nullopt},
        {"15 eur", std::nullopt},
        {utf8("15 £"), std::nullopt},
        {"15 $", std::nullopt},
        {utf8("€"), std::nullopt},
        {utf8(" €"), std::nullopt},
        {utf8("-€"), std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, AmericanSettingsSymbolFirst)
{
    use("en_US");
    expectConversions({
        {"1,000", 1000},
        {"1,5", 15},
        {"1.5", 1.5},
        {"$1,500.25", 1500.25},
        {"-$5", -5},
        {"$-5", -5},
        {"+$5", 5},
        {"($1,500.00)", -1500},
        {"$.5", 0.5},
        {"USD 5", 5},
        {"USD5", 5},
        {"-USD 5", -5},
        {"USD -5", -5},
        {"1.000,5", std::nullopt},
        {"1,000.5.0", std::nullopt},
        {"$ 5", std::nullopt}, // the locale writes no blank after its symbol
        {"5$", std::nullopt},
        {"5 USD", std::nullopt},
        {"$$5", std::nullopt},
        {"$USD5", std::nullopt},
        {"-$-5", std::nullopt},
        {utf8("€5"), std::nullopt},
        {utf8("£5"), std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, BritishSettingsThePound)
{
    use("en_GB");
    expectConversions({
        {utf8("£800"), 800},
        {utf8("-£800"), -800},
        {utf8("£-800"), -800},
        {utf8("(£1,234.56)"), -1234.56},
        {"GBP 800", 800},
        {utf8("800£"), std::nullopt},
        {utf8("£ 800"), std::nullopt},
        {"$800", std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, FrenchSettingsGroupWithANarrowSpace)
{
    use("fr_FR");
    expectConversions({
        {utf8("1\u202F234,50\u00A0€"), 1234.5},
        {utf8("1 234,50 €"), 1234.5},
        {utf8("1\u00A0234,50 €"), 1234.5},
        {utf8("1\u3000234,50 €"), 1234.5},
        {utf8("1\u202F234\u00A0567 890"), 1234567890},
        {utf8("1234,50€"), 1234.5},
        {utf8("-1 234,50 €"), -1234.5},
        {utf8("(1\u202F234,50\u00A0€)"), -1234.5},
        {"1 234 EUR", 1234},
        {utf8("1  234 €"), std::nullopt},
        {utf8("1 234 ,50 €"), std::nullopt},
        {utf8("1 234, 50 €"), std::nullopt},
        {utf8("1.234,50 €"), std::nullopt},
        {utf8("1\t234"), std::nullopt},
        {utf8("1\u2009234"), std::nullopt}, // a thin space is none of the three
        {utf8("1 234 € 5"), std::nullopt},
        {utf8(" 234 €"), 234}, // trimmed, not a separator
    });
}

TEST_F(ConvertNumberUnder, YenFormsOnlyUnderJapaneseSettings)
{
    const std::vector<QString> yen = {utf8("￥5"), utf8("¥5"), "\\5"};
    for (const char *locale : {"en_US", "de_DE", "fr_FR", "en_GB"}) {
        use(locale);
        for (const QString &text : yen)
            EXPECT_EQ(convertNumber(text), std::nullopt) << locale << ' ' << qPrintable(text);
    }
    use("ja_JP");
    for (const QString &text : yen)
        EXPECT_EQ(convertNumber(text), 5) << qPrintable(text);
    expectConversions({
        {"JPY 5", std::nullopt},
        {"JPY5", std::nullopt},
        {utf8("€5"), std::nullopt},
        {utf8("5 €"), std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, OtherLocalesSignsSeparatorsAndDigits)
{
    use("sv_SE"); // U+2212 is the minus sign here; a keyboard's hyphen still counts
    expectConversions({{utf8("\u22125 kr"), -5}, {"-5 kr", -5}, {utf8("\u2212-5 kr"), std::nullopt},
                       {utf8("1 234,5 kr"), 1234.5}});
    use("de_CH"); // a typographic apostrophe groups, typed as a plain one
    expectConversions({{utf8("1\u2019234.50 CHF"), 1234.5}, {"1'234.50 CHF", 1234.5}, {"1'234.50", 1234.5},
                       {"1,234.50", std::nullopt}});
    use("pt_BR"); // the symbol first, with a blank
    expectConversions({{"R$ -1.234,50", -1234.5}, {"-R$ 1.234,50", -1234.5}, {"R$1.234,50", 1234.5},
                       {"R$ 1", 1}, {"R$  1", std::nullopt}, {"R$- 1", std::nullopt}, {"BRL 5", 5}});
    use("nl_NL");
    expectConversions({{utf8("€ 1.234,50"), 1234.5}, {utf8("(€ 1.234,50)"), -1234.5}, {utf8("1.234,50 €"), std::nullopt}});
    use("ar_EG"); // the locale's own digits, separators and two-character minus sign
    expectConversions({
        {utf8("\u0661\u066C\u0662\u0663\u0664\u066B\u0665"), 1234.5},
        {utf8("\u061C-\u0661\u0665\u00A0ج.م.\u200F"), -15},
        {utf8("1\u066C234"), 1234},
        {"1,234", std::nullopt},
    });
}

TEST_F(ConvertNumberUnder, DisplayAndStakeOfAGermanAmount)
{
    // "1,5" is one and a half euros to show, while the leading-number rule,
    // which knows no locale, stakes the 1 before the comma.
    use("de_DE");
    const std::optional<double> shown = convertNumber(u"1,5");
    ASSERT_EQ(shown, 1.5);
    EXPECT_EQ(currencyText(*shown), utf8("1,50\u00A0€"));
    EXPECT_EQ(readLeadingNumber(u"1,5"), 1);
    EXPECT_EQ(readLeadingNumber(u"1.5"), 1.5); // a full stop is the point under every locale
}

TEST_F(ConvertNumberUnder, LongTextsWithSpaceSeparators)
{
    use("fr_FR");
    const qsizetype n = 100000;
    const std::vector<std::pair<QString, std::optional<double>>> texts = {
        {"1" + QString(" 000").repeated(n / 4), std::nullopt}, // beyond a double
        {"0," + QString(n, u'0') + utf8("5 €"), 0},
        {QString("1 ").repeated(n / 2) + utf8("€"), std::nullopt},
        {utf8("1") + QString(n, u' ') + utf8("€"), std::nullopt},
        {QString(n, u'\u202F') + "5" + QString(n, u'\u00A0'), 5},
    };
    for (const auto &[text, expected] : texts)
        EXPECT_EQ(convertNumber(text), expected) << qPrintable(text.left(12));
}

} // namespace
