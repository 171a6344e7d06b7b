// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/RandomGenerator.h"
#include "race/rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <iostream>
#include <vector>

namespace {

constexpr long RaceCount = 100000;

// The fastest honest generator for the bulk of the races: SplitMix64, which passes the
// usual statistical batteries, turned into draws exactly as the program's generator does.
// Its reseed is a no-op; SystemRandom's reseeding is checked below on races of its own.
struct SplitMix64 {
    std::uint64_t state;
    void reseedFromClock() {}
    float next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return unitFromBits(z ^ (z >> 31));
    }
};

// What many races of the rules alone add up to.
struct Tally {
    long races = 0;
    long minSteps = LONG_MAX;
    long maxSteps = 0;
    long nobodyPast = 0;   // races that ended with no horse below the line
    long belowLowest = 0;  // races that ended with a horse more than a step past the line
    long badMoves = 0;     // moves that were not a whole step of 1 to 10
    std::array<double, 5> furthestAhead{};   // by horse; a tie shares the race
    std::array<long long, 11> stepValues{};  // by step value
    std::array<long, 7> pairs{};             // by code, 0 for no pair
    long long steps = 0;
    double seconds = 0;
};

template <class Random>
Tally runRaces(Random& rng, long count)
{
    Tally t;
    const auto started = std::chrono::steady_clock::now();
    for (; t.races < count; ++t.races) {
        rules::ArrayHorses horses;
        auto before = horses.positions;
        const long steps = rules::runRace(horses, rng, [&](long) {
            for (std::size_t i = 0; i < 4; ++i) {
                const float moved = before[i] - horses.positions[i];
                const auto step = static_cast<long>(moved);
                if (step < rules::ShortestStep || step > rules::LongestStep || static_cast<float>(step) != moved)
                    ++t.badMoves;
                else
                    ++t.stepValues[static_cast<std::size_t>(step)];
                before[i] = horses.positions[i];
            }
        });
        t.steps += steps;
        t.minSteps = std::min(t.minSteps, steps);
        t.maxSteps = std::max(t.maxSteps, steps);

        const auto& at = horses.positions;
        const float ahead = *std::min_element(at.begin(), at.end());
        if (!(ahead < rules::FinishLine))
            ++t.nobodyPast;
        if (std::any_of(at.begin(), at.end(), [](float p) { return p < rules::FinishLine - rules::LongestStep; }))
            ++t.belowLowest;
        const auto level = std::count(at.begin(), at.end(), ahead);
        for (std::size_t i = 0; i < 4; ++i) {
            if (at[i] == ahead)
                t.furthestAhead[i + 1] += 1.0 / static_cast<double>(level);
        }

        std::int16_t code = rules::NoPair;
        rules::nameWinningPair(horses, code);
        ++t.pairs[static_cast<std::size_t>(code)];
    }
    t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return t;
}

double share(double count, double total) { return count / total; }

void expectInsideTheBounds(const Tally& t)
{
    EXPECT_EQ(t.nobodyPast, 0);
    EXPECT_EQ(t.belowLowest, 0);
    EXPECT_EQ(t.badMoves, 0);
    EXPECT_GE(t.minSteps, rules::FewestSteps);
    EXPECT_LE(t.maxSteps, rules::MostSteps);
    // About 1125 steps on average: the first of four horses to cover 6356 at 5.5 a step.
    EXPECT_NEAR(static_cast<double>(t.steps) / static_cast<double>(t.races), 1125.0, 15.0);
}

void expectFair(const Tally& t, double horseTolerance, double stepTolerance, double pairTolerance)
{
    const auto races = static_cast<double>(t.races);
    for (int horse = 1; horse <= 4; ++horse)
        EXPECT_NEAR(share(t.furthestAhead[static_cast<std::size_t>(horse)], races), 0.25,
                    horseTolerance)
            << "horse " << horse << " furthest ahead";
    const auto moves = static_cast<double>(t.steps) * 4;
    for (int step = 1; step <= 10; ++step)
        EXPECT_NEAR(share(static_cast<double>(t.stepValues[static_cast<std::size_t>(step)]), moves),
                    0.1, stepTolerance)
            << "step " << step;
    for (int code = 1; code <= rules::PairCount; ++code)
        EXPECT_NEAR(share(t.pairs[static_cast<std::size_t>(code)], races), 0.165, pairTolerance)
            << "pair " << rules::pairName(code);
}

TEST(RaceFairness, ManyRacesAreFairAndInsideTheBounds)
{
    SplitMix64 rng{0x5EED'2024'0BE7ull};
    const Tally t = runRaces(rng, RaceCount);
    std::cout << t.races << " races, " << t.steps << " steps, in " << t.seconds << " s\n"
              << "races with no pair: " << 100.0 * share(t.pairs[0], RaceCount) << " %\n";
    expectInsideTheBounds(t);
    expectFair(t, 0.005, 0.003, 0.005);
}

TEST(RaceFairness, RacesWithTheProgramsGenerator)
{
    // A clock that moves on by a fixed amount per reading keeps the races reproducible.
    std::uint64_t now = 1'000'000'000;
    SystemRandom rng([&now] { return now += 700; }, 0x0DDB'A11ull);
    const Tally t = runRaces(rng, 2000);
    std::cout << t.races << " races with SystemRandom in " << t.seconds << " s\n";
    expectInsideTheBounds(t);
    // Wider margins for fewer races: about four standard deviations.
    expectFair(t, 0.04, 0.003, 0.035);
}

// The race reseeds before every step, and many steps see the same clock reading.
TEST(RaceFairness, FrozenClockStillGivesRandomSteps)
{
    SystemRandom rng([] { return std::uint64_t{123'456'789}; }, 42);
    struct Recording {
        SystemRandom& rng;
        std::vector<std::int16_t> steps;
        void reseedFromClock() { rng.reseedFromClock(); }
        float next()
        {
            const float r = rng.next();
            steps.push_back(rules::stepFromRandom(r));
            return r;
        }
    } recording{rng, {}};

    while (recording.steps.size() < 4 * 10000) {
        rules::ArrayHorses horses;
        rules::runRace(horses, recording, rules::FullSpeed{});
    }

    const auto& steps = recording.steps;
    const auto draws = static_cast<double>(steps.size());
    std::array<long, 11> counts{};
    for (auto step : steps)
        ++counts[static_cast<std::size_t>(step)];
    for (int step = 1; step <= 10; ++step)
        EXPECT_NEAR(share(counts[static_cast<std::size_t>(step)], draws), 0.1, 0.01) << "step " << step;

    // Step by step (four draws each): a whole step repeating the one before should be
    // about one in ten thousand, one horse repeating its previous step about one in ten.
    long sameStep = 0;
    long sameFirst = 0;
    const std::size_t stepCount = steps.size() / 4;
    for (std::size_t i = 1; i < stepCount; ++i) {
        sameStep += std::equal(&steps[4 * i], &steps[4 * i + 4], &steps[4 * (i - 1)]) ? 1 : 0;
        sameFirst += steps[4 * i] == steps[4 * (i - 1)] ? 1 : 0;
    }
    EXPECT_LE(sameStep, 10);
    EXPECT_NEAR(share(sameFirst, stepCount - 1), 0.1, 0.02);
}

}  // namespace
