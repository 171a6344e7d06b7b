// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "race/rules.h"
#include "tests/support/Draws.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using rules::FinishLine;
using rules::StartLeft;

constexpr float LargestBelowOne = 0.99999994f;  // 1 - 2^-24

// Every draw the generator can make: k / 2^24 for k in [0, 2^24).
constexpr std::uint32_t DrawCount = 1u << 24;
float draw(std::uint32_t k) { return static_cast<float>(k) / 16777216.0f; }

TEST(Pairs, CodesNamesAndHorsesAgree)
{
    const char* names[] = {"1-2", "1-3", "1-4", "2-3", "2-4", "3-4"};
    for (int code = 1; code <= rules::PairCount; ++code) {
        const auto [a, b] = rules::pairHorses(code);
        EXPECT_LT(a, b);
        EXPECT_EQ(rules::pairCode(a, b), code);
        EXPECT_EQ(rules::pairCode(b, a), code);
        EXPECT_STREQ(rules::pairName(code), names[code - 1]);
        EXPECT_EQ(std::string(rules::pairName(code)), std::to_string(a) + "-" + std::to_string(b));
    }
    EXPECT_EQ(rules::pairCode(2, 2), 0);
    EXPECT_EQ(rules::pairCode(0, 1), 0);
    EXPECT_EQ(rules::pairCode(4, 5), 0);
    EXPECT_EQ(rules::pairHorses(0), std::make_pair(0, 0));
    EXPECT_EQ(rules::pairHorses(7), std::make_pair(0, 0));
    EXPECT_STREQ(rules::pairName(0), "");
    EXPECT_STREQ(rules::pairName(-1), "");
}

TEST(StepFromRandom, Bounds)
{
    EXPECT_EQ(rules::stepFromRandom(0.0f), 1);
    EXPECT_EQ(rules::stepFromRandom(0.1f), 2);  // 0.1f is a hair above 0.1
    EXPECT_EQ(rules::stepFromRandom(0.5f), 6);
    EXPECT_EQ(rules::stepFromRandom(LargestBelowOne), 10);
    EXPECT_EQ(rules::stepFromRandom(std::nextafter(0.9f, 0.0f)), 9);
}

TEST(StepFromRandom, EveryDrawGivesTheTrueFloorAndEachStepATenth)
{
    std::array<std::uint32_t, 11> counts{};
    for (std::uint32_t k = 0; k < DrawCount; ++k) {
        const std::int16_t step = rules::stepFromRandom(draw(k));
        // Exact integer arithmetic: floor(k * 10 / 2^24) + 1.
        const auto expected = static_cast<std::int16_t>((std::uint64_t(k) * 10) >> 24) + 1;
        if (step != expected)
            FAIL() << "draw " << k << " gave step " << step << ", not " << expected;
        ++counts[static_cast<std::size_t>(step)];
    }
    EXPECT_EQ(counts[0], 0u);
    for (int step = 1; step <= 10; ++step) {
        EXPECT_GE(counts[static_cast<std::size_t>(step)], DrawCount / 10) << step;
        EXPECT_LE(counts[static_cast<std::size_t>(step)], DrawCount / 10 + 1) << step;
    }
}

TEST(OddsFromRandom, EveryDrawLiesInOneToElevenAndRisesWithTheDraw)
{
    EXPECT_EQ(rules::oddsFromRandom(0.0f), 1.0f);
    EXPECT_EQ(rules::oddsFromRandom(0.5f), 6.0f);
    float previous = 0.0f;
    for (std::uint32_t k = 0; k < DrawCount; ++k) {
        const float odds = rules::oddsFromRandom(draw(k));
        if (!(odds >= 1.0f && odds < 11.0f && odds >= previous))
            FAIL() << "draw " << k << " gave odds " << odds;
        previous = odds;
    }
    EXPECT_LT(rules::oddsFromRandom(LargestBelowOne), 11.0f);
    // Single precision throughout: the tenfold draw is rounded to float before the sum.
    EXPECT_EQ(rules::oddsFromRandom(0.3f), 0.3f * 10.0f + 1.0f);
}

TEST(RoundHalfEven, Table)
{
    const struct {
        double in;
        std::int64_t out;
    } cases[] = {
        {0.5, 0},          {1.5, 2},           {2.5, 2},          {-2.5, -2},
        {-0.5, 0},         {-1.5, -2},         {3.5, 4},          {0.49999999999999994, 0},
        {2.4, 2},          {2.6, 3},           {-2.6, -3},        {9996.5, 9996},
        {9997.5, 9998},    {-0.0, 0},          {1e15 + 0.5, 1000000000000000},
        {4503599627370497.0, 4503599627370497},  // 2^52 + 1: no fraction left to round
        {-9223372036854775808.0, std::numeric_limits<std::int64_t>::min()},
        {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
    };
    for (const auto& c : cases)
        EXPECT_EQ(rules::roundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEven, OutOfRangeIsDefined)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(rules::roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(rules::roundHalfEven(std::numeric_limits<double>::infinity()), max);
    EXPECT_EQ(rules::roundHalfEven(-std::numeric_limits<double>::infinity()), min);
    EXPECT_EQ(rules::roundHalfEven(9223372036854775808.0), max);
    EXPECT_EQ(rules::roundHalfEven(1e300), max);
    EXPECT_EQ(rules::roundHalfEven(-1e300), min);
}

TEST(StakeFromAmount, RoundsAndRefusesWhatDoesNotFit32Bits)
{
    EXPECT_EQ(rules::stakeFromAmount(1500.0), 1500);
    EXPECT_EQ(rules::stakeFromAmount(2.5), 2);
    EXPECT_EQ(rules::stakeFromAmount(-300.0), -300);
    EXPECT_EQ(rules::stakeFromAmount(0.0), 0);
    EXPECT_EQ(rules::stakeFromAmount(2147483647.0), 2147483647);
    EXPECT_EQ(rules::stakeFromAmount(2147483647.4), 2147483647);
    EXPECT_EQ(rules::stakeFromAmount(2147483646.5), 2147483646);  // half to even stays inside
    EXPECT_EQ(rules::stakeFromAmount(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(rules::stakeFromAmount(-2147483648.5), std::numeric_limits<std::int32_t>::min());

    const double refused[] = {
        2147483647.5,  // rounds to 2^31
        2147483648.0,
        -2147483649.0,
        -2147483649.5,
        3000000000.0,
        -3000000000.0,
        1e10,
        1e300,
        std::nan(""),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
    };
    for (double amount : refused)
        EXPECT_EQ(rules::stakeFromAmount(amount), std::nullopt) << amount;
}

TEST(MoneyAfterStake, SubtractsTheUnroundedAmountThenRounds)
{
    EXPECT_EQ(rules::moneyAfterStake(10000, 1500.0), 8500);
    EXPECT_EQ(rules::moneyAfterStake(10000, 2.5), 9998);  // 9997.5 to even
    EXPECT_EQ(rules::moneyAfterStake(9999, 2.5), 9996);   // 9996.5 to even: one more than the stake
    EXPECT_EQ(rules::moneyAfterStake(10000, -300.0), 10300);
    EXPECT_EQ(rules::moneyAfterStake(10000, 0.0), 10000);
    EXPECT_EQ(rules::moneyAfterStake(100, 1000.0), -900);
    // Beyond 32 bits both ways: money is 64-bit and nothing wraps.
    EXPECT_EQ(rules::moneyAfterStake(2147483647, -2147483648.0), 4294967295);
    EXPECT_EQ(rules::moneyAfterStake(-2147483648, 2147483647.0), -4294967295);
}

TEST(Payout, OddsTimesStakeHalfToEvenIn64Bits)
{
    // 1.1f is 9227469 / 2^23, so times 2^22 the exact product is 4613734.5.
    ASSERT_EQ(static_cast<double>(1.1f) * 4194304.0, 4613734.5);
    EXPECT_EQ(rules::payout(1.1f, 4194304), 4613734);
    EXPECT_EQ(rules::payout(1.5f, 3), 4);  // 4.5
    EXPECT_EQ(rules::payout(1.5f, 5), 8);  // 7.5
    EXPECT_EQ(rules::payout(2.5f, -1), -2);
    EXPECT_EQ(rules::payout(7.25f, 0), 0);
    EXPECT_EQ(rules::payout(1.0f, 1500), 1500);
    // The odds are widened, not rounded to a short decimal: 1.1f * 10 is 11.0000002...
    EXPECT_EQ(rules::payout(1.1f, 10), 11);
    // 10.5 times the largest stake is 22548578293.5: past 32 bits, and paid to the even yen.
    EXPECT_EQ(rules::payout(10.5f, std::numeric_limits<std::int32_t>::max()), 22548578294);
}

// ---- Winning pair ----

struct Positions {
    std::array<float, 4> at;
    float left(int horse) const { return at[static_cast<std::size_t>(horse - 1)]; }
};

std::int16_t winner(std::array<float, 4> at, std::int16_t before = 0)
{
    Positions horses{at};
    std::int16_t code = before;
    rules::nameWinningPair(horses, code);
    return code;
}

TEST(WinningPair, OneHorsePastWithAUniqueRunnerUp)
{
    EXPECT_EQ(winner({490, 500, 480, 510}), 2);  // 3 past, 1 next: "1-3"
    // Every horse alone past the line with every possible runner-up.
    for (int x = 1; x <= 4; ++x) {
        for (int y = 1; y <= 4; ++y) {
            if (y == x)
                continue;
            std::array<float, 4> at{600, 600, 600, 600};
            at[static_cast<std::size_t>(x - 1)] = 484;
            at[static_cast<std::size_t>(y - 1)] = 485;  // on the line is not past it
            EXPECT_EQ(winner(at, 0), rules::pairCode(x, y)) << x << " " << y;
        }
    }
    // The two behind the runner-up may tie.
    EXPECT_EQ(winner({484, 490, 500, 500}), 1);
}

TEST(WinningPair, TieForRunnerUpNamesNothing)
{
    EXPECT_EQ(winner({484, 490, 490, 500}, 0), 0);
    EXPECT_EQ(winner({484, 490, 490, 500}, 5), 5);  // the caller's value stays
    EXPECT_EQ(winner({490, 490, 490, 480}, 3), 3);  // all three rivals level
    EXPECT_EQ(winner({500, 480, 487, 487}, 0), 0);
}

TEST(WinningPair, NobodyPastNamesNothing)
{
    EXPECT_EQ(winner({485, 486, 490, 500}, 4), 4);
    EXPECT_EQ(winner({StartLeft, StartLeft, StartLeft, StartLeft}, 0), 0);
}

TEST(WinningPair, TwoPastNameEachOther)
{
    EXPECT_EQ(winner({480, 478, 490, 500}), 1);  // 2 ahead
    EXPECT_EQ(winner({478, 480, 490, 500}), 1);  // 1 ahead
    EXPECT_EQ(winner({478, 490, 478, 500}), 2);  // level with each other: still each other's rival
    EXPECT_EQ(winner({490, 483, 499, 476}), 5);
    // The third horse close behind does not matter.
    EXPECT_EQ(winner({484, 490, 483, 485}), 2);
}

TEST(WinningPair, ThreeOrFourPastTheHighestNumberedWithAUniqueRivalDecides)
{
    // 1 ahead, 2 next, 3 last: horse 3 decides, its rival is 1: "1-3", not "1-2".
    EXPECT_EQ(winner({476, 478, 480, 490}), 2);
    // 2, 3, 4 past; horse 4's rivals 2 and 3 are level, so horse 3 decides with 2.
    EXPECT_EQ(winner({490, 478, 478, 480}), 4);
    // All four past: horse 4 decides with horse 1.
    EXPECT_EQ(winner({480, 481, 482, 476}), 3);
    // All four past, horse 4 clear ahead but its rivals 1 and 2 level: horse 3 decides, "3-4".
    EXPECT_EQ(winner({480, 480, 482, 476}), 6);
    // All four level: nobody has a unique rival.
    EXPECT_EQ(winner({480, 480, 480, 480}, 0), 0);
}

// ---- The race loop ----

// Records every access of the loop, in order, in one shared log.
struct Log {
    std::vector<std::string> entries;
    std::string joined(std::size_t from, std::size_t count) const
    {
        std::string out;
        for (std::size_t i = from; i < from + count && i < entries.size(); ++i)
            out += (out.empty() ? "" : " ") + entries[i];
        return out;
    }
};

struct RecordingHorses {
    Log& log;
    std::array<float, 4> at;
    float left(int horse)
    {
        log.entries.push_back("L" + std::to_string(horse));
        return at[static_cast<std::size_t>(horse - 1)];
    }
    void setLeft(int horse, float value)
    {
        log.entries.push_back("S" + std::to_string(horse));
        at[static_cast<std::size_t>(horse - 1)] = value;
    }
};

struct LoggedDraws : ScriptedDraws {
    Log& log;
    LoggedDraws(Log& log, std::initializer_list<float> values) : log(log) { script(values); }
    void reseedFromClock()
    {
        log.entries.push_back("reseed");
        ScriptedDraws::reseedFromClock();
    }
    float next()
    {
        log.entries.push_back("next");
        return ScriptedDraws::next();
    }
};

TEST(RunRace, OrderOfReadsDrawsAndMoves)
{
    Log log;
    // Horse 2 crosses in the second step: 494 - 1 - 9 = 484.
    RecordingHorses horses{log, {500, 494, 496, 498}};
    LoggedDraws rng{log, {0.0f, 0.0f, 0.35f, LargestBelowOne,  // steps 1, 1, 4, 10
                          0.1f, 0.8f, 0.0f, 0.05f}};           // steps 2, 9, 1, 1
    std::vector<long> after;
    const long steps = rules::runRace(horses, rng, [&](long done) {
        after.push_back(done);
        log.entries.push_back("after");
    });

    EXPECT_EQ(steps, 2);
    EXPECT_EQ(after, (std::vector<long>{1, 2}));
    EXPECT_EQ(rng.pending(), 0u);
    EXPECT_EQ(horses.at, (std::array<float, 4>{497, 484, 491, 487}));

    const std::string oneStep =
        "L1 L3 L4 L2 reseed next next next next L1 S1 L2 S2 L3 S3 L4 S4 after";
    ASSERT_EQ(log.entries.size(), 2 * 18 + 4u);
    EXPECT_EQ(log.joined(0, 18), oneStep);
    EXPECT_EQ(log.joined(18, 18), oneStep);
    // The last finish test still reads all four, although horse 2 is read last.
    EXPECT_EQ(log.joined(36, 4), "L1 L3 L4 L2");
}

TEST(RunRace, FinishTestComesBeforeTheFirstStep)
{
    for (int already = 1; already <= 4; ++already) {
        Log log;
        RecordingHorses horses{log, {StartLeft, StartLeft, StartLeft, StartLeft}};
        horses.at[static_cast<std::size_t>(already - 1)] = 484.0f;
        LoggedDraws rng{log, {}};
        int calls = 0;
        EXPECT_EQ(rules::runRace(horses, rng, [&](long) { ++calls; }), 0) << already;
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(log.joined(0, 99), "L1 L3 L4 L2") << already;
    }
}

TEST(RunRace, ShortestAndLongestRaces)
{
    rules::ArrayHorses fastest;
    ScriptedDraws tens;
    tens.script(LargestBelowOne, 4 * rules::FewestSteps);
    EXPECT_EQ(rules::runRace(fastest, tens, rules::FullSpeed{}), rules::FewestSteps);
    EXPECT_EQ(tens.reseeds, rules::FewestSteps);
    EXPECT_EQ(tens.pending(), 0u);
    EXPECT_EQ(fastest.positions, (std::array<float, 4>{480, 480, 480, 480}));

    rules::ArrayHorses slowest;
    ScriptedDraws ones;
    ones.script(0.0f, 4 * rules::MostSteps);
    EXPECT_EQ(rules::runRace(slowest, ones, rules::FullSpeed{}), rules::MostSteps);
    EXPECT_EQ(ones.pending(), 0u);
    EXPECT_EQ(slowest.positions, (std::array<float, 4>{484, 484, 484, 484}));
    // And every step size between them.
    for (int size = rules::ShortestStep; size <= rules::LongestStep; ++size) {
        rules::ArrayHorses horses;
        ScriptedDraws same;
        same.script(drawForStep(size), 4 * rules::stepsToFinish(size));
        EXPECT_EQ(rules::runRace(horses, same, rules::FullSpeed{}), rules::stepsToFinish(size)) << size;
        EXPECT_EQ(same.pending(), 0u) << size;
    }

    // Four horses level past the line: no pair, the caller's 0 stays.
    std::int16_t code = 0;
    rules::nameWinningPair(slowest, code);
    EXPECT_EQ(code, 0);
}

}  // namespace
