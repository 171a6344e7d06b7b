// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/GameLocale.h"
#include "platform/NumberText.h"
#include "tests/support/PrintQString.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Each test pins the settings it needs and gives back the ones it found.
class GameLocaleTest : public ::testing::Test {
protected:
    void use(QLocale::Language language, QLocale::Territory territory)
    {
        setGameLocale(QLocale(language, territory));
    }
    void SetUp() override { use(QLocale::Japanese, QLocale::Japan); }
    void TearDown() override { setGameLocale(saved_); }

private:
    QLocale saved_ = gameLocale();
};

using CurrencyText = GameLocaleTest;
using OddsText = GameLocaleTest;

TEST_F(CurrencyText, JapaneseWholeAmounts)
{
    EXPECT_EQ(currencyText(std::int64_t(10000)), utf8("￥10,000"));
    EXPECT_EQ(currencyText(10000), utf8("￥10,000"));
    EXPECT_EQ(currencyText(std::int64_t(0)), utf8("￥0"));
    EXPECT_EQ(currencyText(std::int64_t(999)), utf8("￥999"));
    EXPECT_EQ(currencyText(std::int64_t(-1500)), utf8("-￥1,500"));
    EXPECT_EQ(currencyText(std::int32_t(-2147483647 - 1)), utf8("-￥2,147,483,648"));
    EXPECT_EQ(currencyText(Int64Max), utf8("￥9,223,372,036,854,775,807"));
    EXPECT_EQ(currencyText(Int64Min), utf8("-￥9,223,372,036,854,775,808"));
    EXPECT_EQ(currencyText(Int64Min + 1), utf8("-￥9,223,372,036,854,775,807"));
}

TEST_F(CurrencyText, JapaneseRoundsHalfAwayFromZeroWithoutMinusZero)
{
    EXPECT_EQ(currencyText(10000.0), utf8("￥10,000"));
    EXPECT_EQ(currencyText(2.5), utf8("￥3"));
    EXPECT_EQ(currencyText(-2.5), utf8("-￥3"));
    EXPECT_EQ(currencyText(0.5), utf8("￥1"));
    EXPECT_EQ(currencyText(1234567.891), utf8("￥1,234,568"));
    EXPECT_EQ(currencyText(-1500.0), utf8("-￥1,500"));
    EXPECT_EQ(currencyText(-0.4), utf8("￥0"));
    EXPECT_EQ(currencyText(-0.0), utf8("￥0"));
    EXPECT_EQ(currencyText(std::numeric_limits<double>::denorm_min()), utf8("￥0"));
    // Just below a half, and a whole number beyond 2^52: adding 0.5 and
    // flooring would get both wrong.
    EXPECT_EQ(currencyText(0.49999999999999994), utf8("￥0"));
    EXPECT_EQ(currencyText(4503599627370497.0), utf8("￥4,503,599,627,370,497"));
}

TEST_F(CurrencyText, JapaneseHugeAmountsKeepAllTheirDigits)
{
    EXPECT_EQ(currencyText(9e18), utf8("￥9,000,000,000,000,000,000"));
    EXPECT_EQ(currencyText(-0x1p63), utf8("-￥9,223,372,036,854,775,808"));
    EXPECT_EQ(currencyText(1.8e19), utf8("￥18,000,000,000,000,000,000"));
    EXPECT_EQ(currencyText(1e20), utf8("￥100,000,000,000,000,000,000"));
    // Beyond 64 bits: the fewest digits that read back as the same double.
    EXPECT_EQ(currencyText(1e300), utf8("￥1") + QString(",000").repeated(100));
    EXPECT_EQ(currencyText(-1e300), utf8("-￥1") + QString(",000").repeated(100));
    const QString max = currencyText(std::numeric_limits<double>::max());
    EXPECT_TRUE(max.startsWith(utf8("￥179,769,313,486,231,57"))) << qPrintable(max);
    EXPECT_EQ(max.size(), 1 + 309 + 102);
    EXPECT_EQ(currencyText(std::numeric_limits<double>::infinity()), utf8("￥inf"));
    EXPECT_EQ(currencyText(-std::numeric_limits<double>::infinity()), utf8("-￥inf"));
    EXPECT_EQ(currencyText(std::numeric_limits<double>::quiet_NaN()), utf8("￥nan"));
}

TEST_F(CurrencyText, TheLocaleDecidesSignDigitsAndDecimals)
{
    use(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(currencyText(std::int64_t(10000)), "$10,000.00");
    EXPECT_EQ(currencyText(std::int64_t(-1500)), "-$1,500.00");
    EXPECT_EQ(currencyText(Int64Min), "-$9,223,372,036,854,775,808.00");
    EXPECT_EQ(currencyText(2.5), "$2.50");
    EXPECT_EQ(currencyText(0.07), "$0.07");
    EXPECT_EQ(currencyText(-0.004), "$0.00");
    EXPECT_EQ(currencyText(-1234.5678), "-$1,234.57");
    // Cents rounded from the exact binary value: 0.125 is a true half, 0.015
    // lies just below one and 0.025 just above, though 0.015 * 100 and
    // 0.025 * 100 both round to halves in double arithmetic.
    EXPECT_EQ(currencyText(0.125), "$0.13");
    EXPECT_EQ(currencyText(-0.125), "-$0.13");
    EXPECT_EQ(currencyText(0.015), "$0.01");
    EXPECT_EQ(currencyText(0.025), "$0.03");
    EXPECT_EQ(currencyText(45035996273705.125), "$45,035,996,273,705.13");
    EXPECT_EQ(currencyText(45035996273705.375), "$45,035,996,273,705.38");
    EXPECT_EQ(currencyText(1e300), "$1" + QString(",000").repeated(100) + ".00");

    use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(currencyText(std::int64_t(10000)), utf8("10.000,00\u00A0€"));
    EXPECT_EQ(currencyText(-1500.5), utf8("-1.500,50\u00A0€"));
}

TEST_F(CurrencyText, JapaneseTextConvertsBackToTheRoundedAmount)
{
    std::mt19937_64 random(20240611);
    const auto check = [](double x) {
        const QString text = currencyText(x);
        const std::optional<double> back = convertNumber(text);
        ASSERT_TRUE(back.has_value()) << x << " gave " << qPrintable(text);
        EXPECT_EQ(*back, std::round(x)) << x << " gave " << qPrintable(text);
    };
    std::uniform_real_distribution<double> money(-1e6, 1e6);
    std::uniform_real_distribution<double> magnitude(-3, 308);
    for (int i = 0; i < 20000; ++i) {
        check(money(random));
        check(std::round(money(random)) + 0.5);
        check(std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1));
        double bits;
        const std::uint64_t word = random();
        std::memcpy(&bits, &word, sizeof bits);
        if (std::isfinite(bits))
            check(bits);
        const auto whole = std::int64_t(random());
        EXPECT_EQ(convertNumber(currencyText(whole)), double(whole));
    }
}

// Under the settings of players elsewhere, the amount a box shows converts
// back to the same amount: the text shows it again unchanged, and a whole
// amount comes back exactly. Qt's own currency forms, the accounting one with
// parentheses included, convert too.
TEST_F(CurrencyText, EveryLocalesTextConvertsBack)
{
    std::mt19937_64 random(20240612);
    std::uniform_real_distribution<double> money(-1e6, 1e6);
    std::uniform_real_distribution<double> magnitude(-3, 308);
    for (const char *name : {"en_US", "en_GB", "de_DE", "fr_FR", "de_CH", "sv_SE", "pt_BR", "nl_NL", "ar_EG"}) {
        const QLocale locale{QString::fromLatin1(name)};
        setGameLocale(locale);
        const auto check = [&](double x) {
            const QString text = currencyText(x);
            const std::optional<double> back = convertNumber(text);
            ASSERT_TRUE(back.has_value()) << name << ' ' << x << " gave " << text.toStdString();
            EXPECT_EQ(currencyText(*back), text) << name << ' ' << x;
            EXPECT_LE(std::fabs(*back - x), 0.005 + std::fabs(x) * 1e-15) << name << ' ' << x;
        };
        for (int i = 0; i < 2000; ++i) {
            check(money(random));
            check(std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1));
            const auto whole = std::int64_t(random());
            EXPECT_EQ(convertNumber(currencyText(whole)), double(whole)) << name << ' ' << whole;
            const double cents = double(std::int64_t(random() % 2000001) - 1000000) / 100;
            EXPECT_EQ(convertNumber(locale.toCurrencyString(cents)), cents)
                << name << ' ' << locale.toCurrencyString(cents).toStdString();
        }
    }
}

TEST_F(OddsText, SevenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(oddsText(5.5f), "5.5");
    EXPECT_EQ(oddsText(10.0f), "10");
    EXPECT_EQ(oddsText(1.0f), "1");
    EXPECT_EQ(oddsText(3.1415927f), "3.141593");
    EXPECT_EQ(oddsText(std::nextafter(11.0f, 0.0f)), "11");
    EXPECT_EQ(oddsText(std::nextafter(1.0f, 2.0f)), "1");
    EXPECT_EQ(oddsText(1.25f), "1.25");
    EXPECT_EQ(oddsText(1234567.0f), "1234567"); // no grouping
}

TEST_F(OddsText, TheLocaleDecidesTheDecimalPoint)
{
    use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(oddsText(5.5f), "5,5");
    EXPECT_EQ(oddsText(1234567.0f), "1234567");
}

TEST_F(GameLocaleTest, APinnedLocaleIsTheGameLocale)
{
    EXPECT_EQ(gameLocale(), QLocale(QLocale::Japanese, QLocale::Japan));
    use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(gameLocale().name(), "de_DE");
}

} // namespace
