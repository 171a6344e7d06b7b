// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Money under the Windows regional settings: with nothing pinned, the game
// locale is the user's, and an amount reads exactly as Windows itself writes
// money under those settings (GetCurrencyFormatEx): its currency symbol, its
// grouping, its negative form. Run with Japanese settings (LANG=ja_JP.UTF-8,
// which Wine turns into the Windows locale ja-JP).
#include "platform/GameLocale.h"
#include "platform/NumberText.h"
#include "tests/support/PrintQString.h"

#include <QLocale>
#include <QString>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// Windows' own currency text for a whole number of yen, in the user's settings.
QString windowsMoney(long long amount)
{
    const std::wstring number = std::to_wstring(amount);
    wchar_t text[128];
    const int written = GetCurrencyFormatEx(LOCALE_NAME_USER_DEFAULT, 0, number.c_str(), nullptr, text, 128);
    return written > 0 ? QString::fromWCharArray(text) : QStringLiteral("(GetCurrencyFormatEx failed)");
}

TEST(WindowsMoney, TheUsersSettingsAreJapanese)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    ASSERT_EQ(QString::fromWCharArray(name), QStringLiteral("ja-JP"))
        << "run with LANG=ja_JP.UTF-8 (and the locale compiled, see tests/wine/wine-prefix.sh)";
    EXPECT_EQ(gameLocale().language(), QLocale::Japanese);
    EXPECT_EQ(gameLocale().territory(), QLocale::Japan);
}

TEST(WindowsMoney, AmountsReadAsWindowsWritesThem)
{
    for (long long amount : {0LL, 1LL, 999LL, 1000LL, 10000LL, 1234567LL, 2147483647LL, -1LL, -1500LL,
                             -10000LL, -2147483648LL}) {
        SCOPED_TRACE(amount);
        EXPECT_EQ(currencyText(amount), windowsMoney(amount));
    }
    // Fractions of a yen round half away from zero, and no minus zero.
    EXPECT_EQ(currencyText(2.5), windowsMoney(3));
    EXPECT_EQ(currencyText(-2.5), windowsMoney(-3));
    EXPECT_EQ(currencyText(-0.4), windowsMoney(0));
}

TEST(WindowsMoney, WhatTheBoxesShowIsReadBackAsAnAmount)
{
    // An amount box shows a stake in this form; the ordinary conversion
    // must take it for the number it is, negative amounts included.
    for (long long amount : {0LL, 1500LL, 10000LL, -1500LL}) {
        SCOPED_TRACE(amount);
        const std::optional<double> read = convertNumber(windowsMoney(amount));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, double(amount));
    }
}

} // namespace
