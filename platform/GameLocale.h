// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The regional settings the game formats money and odds with.

#include <QLocale>
#include <QString>

#include <concepts>
#include <cstdint>

// The user's regional settings; where the user has none (the C/POSIX locale),
// the Japanese settings the game is made for. setGameLocale pins another one.
QLocale gameLocale();
void setGameLocale(const QLocale &locale);

// An amount of money in the game locale's currency format, rounded half away
// from zero to the currency's decimals; a negative amount has the minus sign
// first ("-￥1,500" under Japanese settings), and no amount reads as minus zero.
QString currencyText(std::int64_t amount);
QString currencyText(double amount);

// The other integer types (int, long long, ...) as the 64-bit amount they are,
// so that currencyText(10000) is not ambiguous.
template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, std::int64_t>
             && (std::is_signed_v<T> || sizeof(T) < sizeof(std::int64_t)))
QString currencyText(T amount)
{
    return currencyText(static_cast<std::int64_t>(amount));
}

// Odds as plain text: seven significant digits, no trailing zeros, no grouping,
// the game locale's decimal point. The largest float below 11 reads "11".
QString oddsText(float odds);
