// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Money under the Windows regional settings: with nothing pinned, the game
// locale is the user's, and an amount reads as the Japanese Windows desktop
// writes money: the currency symbol and the thousands separator of the
// user's settings, groups of three, no decimals, the minus sign first
// ("-¥1,500"). Windows' own GetCurrencyFormatEx is not the reference: Wine's
// Japanese data has the accounting negative form and groups only the last
// three digits ("(￥1234,567)"), where Windows writes "-¥1,234,567".
// Run with Japanese settings (LANG=ja_JP.UTF-8, which Wine turns into ja-JP).
#include "platform/GameLocale.h"
#include "platform/NumberText.h"
#include "tests/support/PrintQString.h"

#include <QLocale>
#include <QString>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

QString localeInfo(LCTYPE type)
{
    wchar_t text[64];
    const int written = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 64);
    return written > 0 ? QString::fromWCharArray(text, written - 1) : QString();
}

// The Japanese desktop's form of a whole amount of yen, from the user's own
// symbol and separator.
QString japaneseMoney(long long amount)
{
    QString digits = QString::number(amount < 0 ? -amount : amount);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, localeInfo(LOCALE_SMONTHOUSANDSEP));
    return (amount < 0 ? QStringLiteral("-") : QString()) + localeInfo(LOCALE_SCURRENCY) + digits;
}

TEST(WindowsMoney, TheUsersSettingsAreJapanese)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    ASSERT_EQ(QString::fromWCharArray(name), QStringLiteral("ja-JP"))
        << "run with LANG=ja_JP.UTF-8 (and the locale compiled, see tests/wine/wine-prefix.sh)";
    EXPECT_EQ(gameLocale().language(), QLocale::Japanese);
    EXPECT_EQ(gameLocale().territory(), QLocale::Japan);
    // What the figures below are made of: a yen sign (Windows writes U+00A5,
    // Wine U+FFE5), a comma, no decimals.
    EXPECT_TRUE(localeInfo(LOCALE_SCURRENCY) == QStringLiteral("\u00A5")
                || localeInfo(LOCALE_SCURRENCY) == QStringLiteral("\uFFE5"))
        << localeInfo(LOCALE_SCURRENCY).toStdString();
    EXPECT_EQ(localeInfo(LOCALE_SMONTHOUSANDSEP), QStringLiteral(","));
    EXPECT_EQ(localeInfo(LOCALE_ICURRDIGITS), QStringLiteral("0"));
}

TEST(WindowsMoney, AmountsReadAsWindowsWritesThem)
{
    for (long long amount : {0LL, 1LL, 999LL, 1000LL, 10000LL, 1234567LL, 2147483647LL, -1LL, -1500LL,
                             -10000LL, -2147483648LL}) {
        SCOPED_TRACE(amount);
        EXPECT_EQ(currencyText(amount), japaneseMoney(amount));
    }
    // Fractions of a yen round half away from zero, and no minus zero.
    EXPECT_EQ(currencyText(2.5), japaneseMoney(3));
    EXPECT_EQ(currencyText(-2.5), japaneseMoney(-3));
    EXPECT_EQ(currencyText(-0.4), japaneseMoney(0));
}

TEST(WindowsMoney, WhatTheBoxesShowIsReadBackAsAnAmount)
{
    // An amount box shows a stake in this form; the ordinary conversion
    // must take it for the number it is, negative amounts included.
    for (long long amount : {0LL, 1500LL, 10000LL, -1500LL}) {
        SCOPED_TRACE(amount);
        const std::optional<double> read = convertNumber(japaneseMoney(amount));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, double(amount));
    }
}

} // namespace
