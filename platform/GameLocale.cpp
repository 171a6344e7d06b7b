// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/GameLocale.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

std::optional<QLocale> &pinnedLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

// The parts of the locale's currency format that the amount is put between.
struct CurrencyFormat {
    QLocale locale;
    QString prefix; // before the digits, the currency sign in place
    QString suffix; // after the digits
    int decimals = 0;
    std::uint64_t scale = 1; // 10^decimals
};

CurrencyFormat makeCurrencyFormat(const QLocale &locale)
{
    CurrencyFormat format;
    format.locale = locale;

    // Qt writes a currency amount by pattern ("%2%1", "%1 %2", ...) that it
    // does not publish; a zero formatted with a marker for a symbol shows it.
    const QString marker(QChar(0x0001));
    const QString zero = locale.toString(0ULL);
    const QString symbol = locale.currencySymbol();
    const QString pattern = locale.toCurrencyString(0ULL, marker);
    const qsizetype at = pattern.indexOf(zero);
    if (at >= 0) {
        format.prefix = pattern.left(at).replace(marker, symbol);
        format.suffix = pattern.mid(at + zero.size()).replace(marker, symbol);
    }

    // Nor does it publish the currency's decimals, only use them for doubles.
    const QString zeroMoney = locale.toCurrencyString(0.0, marker);
    const QString point = locale.decimalPoint();
    qsizetype i = zeroMoney.indexOf(point);
    if (i >= 0) {
        for (i += point.size(); QStringView(zeroMoney).mid(i).startsWith(zero); i += zero.size())
            ++format.decimals;
    }
    // No currency has more than four; the cap keeps 10^decimals far inside 64 bits.
    format.decimals = std::min(format.decimals, 9);
    for (int d = 0; d < format.decimals; ++d)
        format.scale *= 10;
    return format;
}

const CurrencyFormat &currencyFormat()
{
    thread_local std::optional<CurrencyFormat> cached;
    const QLocale locale = gameLocale();
    if (!cached || cached->locale != locale)
        cached = makeCurrencyFormat(locale);
    return *cached;
}

QString compose(const CurrencyFormat &format, bool negative, const QString &number)
{
    // Minus sign first, as the Japanese desktop writes money; Qt's CLDR data
    // would give the accounting form "(￥1,500)".
    QString text = negative ? format.locale.negativeSign() : QString();
    text += format.prefix;
    text += number;
    text += format.suffix;
    return text;
}

QString zeroDecimals(const CurrencyFormat &format)
{
    if (format.decimals == 0)
        return {};
    return format.locale.decimalPoint() + format.locale.toString(0ULL).repeated(format.decimals);
}

// A magnitude in the currency's smallest unit (cents for dollars, yen for yen).
QString unitsText(const CurrencyFormat &format, std::uint64_t units)
{
    const QLocale &locale = format.locale;
    QString text = locale.toString(qulonglong(units / format.scale));
    if (format.decimals > 0) {
        const std::uint64_t fraction = units % format.scale;
        QLocale plain = locale;
        plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
        int digits = 1;
        for (std::uint64_t f = fraction; f >= 10; f /= 10)
            ++digits;
        text += locale.decimalPoint();
        text += locale.toString(0ULL).repeated(format.decimals - digits);
        text += plain.toString(qulonglong(fraction));
    }
    return text;
}

// |x| * scale rounded half away from zero, exactly, when the result is below
// 2^64. The product is split into its rounded double and the exact remainder
// (fma), so a product that only rounds onto a half is not taken for one.
std::optional<std::uint64_t> scaledMagnitude(double x, std::uint64_t scale)
{
    const double ax = std::fabs(x);
    const double p = double(scale);
    const double product = ax * p;
    if (!(product < 0x1p64))
        return std::nullopt;
    const double remainder = std::fma(ax, p, -product); // ax * p == product + remainder
    if (product < 0x1p52) {
        // Half away from zero by hand, from the exact fraction: MinGW-w64's
        // round() adds a half and floors, which takes 0.49999999999999994 to 1.
        double rounded = std::trunc(product);
        if (product - rounded >= 0.5)
            rounded += 1;
        if (rounded - product == 0.5 && remainder < 0)
            rounded -= 1; // the exact value lies below the half
        return std::uint64_t(rounded);
    }
    // Here the product is a whole number; the remainder is a multiple of
    // ax's last place and below 2^11, so adding a half to it is exact.
    const auto whole = std::uint64_t(product);
    const double adjust = std::floor(remainder + 0.5);
    if (adjust < 0 && whole < std::uint64_t(-adjust))
        return 0;
    if (adjust > 0 && whole > UINT64_MAX - std::uint64_t(adjust))
        return std::nullopt;
    return adjust < 0 ? whole - std::uint64_t(-adjust) : whole + std::uint64_t(adjust);
}

} // namespace

QLocale gameLocale()
{
    if (const std::optional<QLocale> &pinned = pinnedLocale())
        return *pinned;
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Japanese, QLocale::Japan);
    return system;
}

void setGameLocale(const QLocale &locale)
{
    pinnedLocale() = locale;
}

QString currencyText(std::int64_t amount)
{
    const CurrencyFormat &format = currencyFormat();
    // Through unsigned arithmetic so that INT64_MIN has a magnitude too.
    const std::uint64_t magnitude =
        amount < 0 ? std::uint64_t(0) - std::uint64_t(amount) : std::uint64_t(amount);
    return compose(format, amount < 0,
                   format.locale.toString(qulonglong(magnitude)) + zeroDecimals(format));
}

QString currencyText(double amount)
{
    const CurrencyFormat &format = currencyFormat();
    const QLocale &locale = format.locale;
    if (std::isnan(amount))
        return compose(format, false, locale.toString(amount));
    if (std::isinf(amount))
        return compose(format, amount < 0, locale.toString(std::fabs(amount)));
    if (const std::optional<std::uint64_t> units = scaledMagnitude(amount, format.scale))
        return compose(format, amount < 0 && *units != 0, unitsText(format, *units));

    // Beyond 2^64 units a double has at most two binary places (currencies
    // have at most four decimals), so Qt's fixed form needs no rounding. A whole amount is written with the fewest digits that read
    // back as it (1e300 as a one and 300 zeros), not the long tail of its
    // binary value.
    const double magnitude = std::fabs(amount);
    const QString number = magnitude == std::trunc(magnitude)
        ? locale.toString(magnitude, 'f', QLocale::FloatingPointShortest) + zeroDecimals(format)
        : locale.toString(magnitude, 'f', format.decimals);
    return compose(format, amount < 0, number);
}

QString oddsText(float odds)
{
    QLocale locale = gameLocale();
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(double(odds), 'g', 7);
}
