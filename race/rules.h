// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The game's arithmetic: pairs, steps, odds, the race loop, the winning pair and money.
// Plain C++ with no Qt, so the window, the tests and the benchmarks share one copy.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace rules {

// Positions are horizontal picture positions in twips; the horses run leftwards.
constexpr float StartLeft = 6840.0f;
constexpr float FinishLine = 485.0f;

// Horses 1..4: 1 aka (red), 2 cha (brown), 3 ki (yellow), 4 shiro (white).
constexpr int HorseCount = 4;

// Pair codes 1..6 stand for "1-2", "1-3", "1-4", "2-3", "2-4", "3-4"; 0 is no pair.
constexpr int PairCount = 6;
constexpr std::int16_t NoPair = 0;

// The code of the unordered pair of two different horses; 0 when they are equal or out of 1..4.
std::int16_t pairCode(int horseA, int horseB);
// The two horses of a code, lower number first; {0, 0} for a code outside 1..6.
std::pair<int, int> pairHorses(int code);
// "1-2" ... "3-4"; the empty string for a code outside 1..6.
const char* pairName(int code);

// One horse's step from one draw r in [0, 1): floor(r * 10 + 1), 1..10. Inline: the race
// takes four per step. In double the product and sum of a single-precision r are exact, so
// r below 1 never rounds up to 11; the value is positive, so truncation is the floor.
constexpr std::int16_t stepFromRandom(float r)
{
    return static_cast<std::int16_t>(static_cast<double>(r) * 10.0 + 1.0);
}

// The shortest and longest step stepFromRandom gives.
constexpr int ShortestStep = 1;
constexpr int LongestStep = 10;

// How many steps of `stepSize` take a horse from the start past the finish line. The
// positions are whole twips, so this counts in integers: past the line means strictly
// below it, one step more than the whole steps that fit between start and line.
constexpr long stepsToFinish(int stepSize)
{
    return static_cast<long>(StartLeft - FinishLine) / stepSize + 1;
}

// The bounds of every race from the start: one horse at the longest step every time, and
// all four at the shortest.
constexpr long FewestSteps = stepsToFinish(LongestStep);
constexpr long MostSteps = stepsToFinish(ShortestStep);

// One pair's odds from one draw r in [0, 1): r * 10 + 1 in single precision, in [1, 11).
float oddsFromRandom(float r);

// Nearest integer, an exact half to the even neighbour. Callers pass values already known
// to fit; for the rest it is still defined: NaN gives 0, values beyond the 64-bit range
// (infinities included) give the nearest 64-bit limit.
std::int64_t roundHalfEven(double value);

// The stake an amount makes: the amount rounded half to even, if that fits a 32-bit signed
// integer; nullopt otherwise (NaN and infinities included), and the amount is refused.
std::optional<std::int32_t> stakeFromAmount(double amount);

// Money after a stake is taken: the unrounded amount is subtracted and the difference
// rounded, so an amount with a fraction moves the money by its own rounding.
std::int64_t moneyAfterStake(std::int64_t money, double amount);

// The payout of a winning stake: the widened odds times the stake in double precision,
// rounded half to even, in 64 bits (11 times the largest stake does not fit 32).
std::int64_t payout(float odds, std::int32_t stake);

// The four positions as a plain array, for simulations and benchmarks.
struct ArrayHorses {
    std::array<float, HorseCount> positions{StartLeft, StartLeft, StartLeft, StartLeft};

    float left(int horse) const { return positions[static_cast<std::size_t>(horse - 1)]; }
    void setLeft(int horse, float value) { positions[static_cast<std::size_t>(horse - 1)] = value; }
};

// An afterStep for races that run at full speed.
struct FullSpeed {
    void operator()(long) const {}
};

// Runs one race from wherever the horses stand until one is past the finish line and
// returns the number of steps. Horses: float left(int), void setLeft(int, float) for
// horses 1..4. Random: void reseedFromClock(), float next(). afterStep(stepsDone) is
// called after every step; the window repaints and paces there.
template <class Horses, class Random, class AfterStep>
long runRace(Horses& horses, Random& rng, AfterStep&& afterStep)
{
    long steps = 0;
    for (;;) {
        // The finish test reads all four, in this order, before every step.
        const float left1 = horses.left(1);
        const float left3 = horses.left(3);
        const float left4 = horses.left(4);
        const float left2 = horses.left(2);
        if (left1 < FinishLine || left3 < FinishLine || left4 < FinishLine || left2 < FinishLine)
            return steps;

        rng.reseedFromClock();
        const std::int16_t s1 = stepFromRandom(rng.next());
        const std::int16_t s2 = stepFromRandom(rng.next());
        const std::int16_t s3 = stepFromRandom(rng.next());
        const std::int16_t s4 = stepFromRandom(rng.next());

        horses.setLeft(1, horses.left(1) - static_cast<float>(s1));
        horses.setLeft(2, horses.left(2) - static_cast<float>(s2));
        horses.setLeft(3, horses.left(3) - static_cast<float>(s3));
        horses.setLeft(4, horses.left(4) - static_cast<float>(s4));

        ++steps;
        afterStep(steps);
    }
}

// Names the winning pair after a race: every horse X past the line, in order 1..4, pairs
// with the unique most advanced of the other three; a later X overwrites an earlier one,
// a tie for most advanced names nothing, and code is left as it was when nothing is named.
template <class Horses>
void nameWinningPair(Horses& horses, std::int16_t& code)
{
    for (int x = 1; x <= HorseCount; ++x) {
        if (!(horses.left(x) < FinishLine))
            continue;
        for (int y = 1; y <= HorseCount; ++y) {
            if (y == x)
                continue;
            bool aheadOfBoth = true;
            for (int z = 1; z <= HorseCount && aheadOfBoth; ++z) {
                if (z != x && z != y)
                    aheadOfBoth = horses.left(y) < horses.left(z);
            }
            if (aheadOfBoth) {
                code = pairCode(x, y);
                break;  // at most one of the three can be strictly ahead of the other two
            }
        }
    }
}

}  // namespace rules
