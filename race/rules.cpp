// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "race/rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rules {

namespace {

struct Pair {
    int low;
    int high;
    const char* name;
};

constexpr std::array<Pair, PairCount> Pairs{{
    {1, 2, "1-2"}, {1, 3, "1-3"}, {1, 4, "1-4"}, {2, 3, "2-3"}, {2, 4, "2-4"}, {3, 4, "3-4"},
}};

bool isPairCode(int code) { return code >= 1 && code <= PairCount; }

}  // namespace

std::int16_t pairCode(int horseA, int horseB)
{
    const int low = std::min(horseA, horseB);
    const int high = std::max(horseA, horseB);
    for (std::size_t i = 0; i < Pairs.size(); ++i) {
        if (Pairs[i].low == low && Pairs[i].high == high)
            return static_cast<std::int16_t>(i + 1);
    }
    return NoPair;
}

std::pair<int, int> pairHorses(int code)
{
    if (!isPairCode(code))
        return {0, 0};
    const Pair& pair = Pairs[static_cast<std::size_t>(code - 1)];
    return {pair.low, pair.high};
}

const char* pairName(int code)
{
    return isPairCode(code) ? Pairs[static_cast<std::size_t>(code - 1)].name : "";
}

float oddsFromRandom(float r)
{
    const float tenfold = r * 10.0f;
    return tenfold + 1.0f;
}

std::int64_t roundHalfEven(double value)
{
    // Explicit rather than std::nearbyint, which would follow whatever rounding mode is set.
    if (std::isnan(value))
        return 0;
    constexpr double TwoTo63 = 9223372036854775808.0;
    if (value >= TwoTo63)
        return std::numeric_limits<std::int64_t>::max();
    if (value < -TwoTo63)
        return std::numeric_limits<std::int64_t>::min();

    const double below = std::floor(value);
    const double fraction = value - below;  // exact for every finite double
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    // Doubles this close to 2^63 are whole numbers, so rounding up never reaches 2^63.
    return static_cast<std::int64_t>(rounded);
}

std::optional<std::int32_t> stakeFromAmount(double amount)
{
    if (!std::isfinite(amount))
        return std::nullopt;
    const std::int64_t rounded = roundHalfEven(amount);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::int64_t moneyAfterStake(std::int64_t money, double amount)
{
    return roundHalfEven(static_cast<double>(money) - amount);
}

std::int64_t payout(float odds, std::int32_t stake)
{
    return roundHalfEven(static_cast<double>(odds) * static_cast<double>(stake));
}

}  // namespace rules
