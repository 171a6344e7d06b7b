// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The program's generator: draws in [0, 1), reseeds that mix rather than replace.
#include "platform/RandomGenerator.h"

#include <gtest/gtest.h>
#include <limits>
#include <set>

TEST(Random, DrawsStayInsideTheUnitInterval)
{
    EXPECT_EQ(unitFromBits(0), 0.0f);
    EXPECT_LT(unitFromBits(std::numeric_limits<std::uint64_t>::max()), 1.0f);
    EXPECT_EQ(unitFromBits(std::numeric_limits<std::uint64_t>::max()), 1.0f - 1.0f / 16777216.0f);

    SystemRandom random([] { return std::uint64_t(7); }, 99);
    for (int i = 0; i < 100000; ++i) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(Random, ReseedsAtOneClockReadingStillGiveFreshNumbers)
{
    SystemRandom random([] { return std::uint64_t(1000); }, 5);
    std::set<float> seen;
    for (int i = 0; i < 1000; ++i) {
        random.reseedFromClock();
        seen.insert(random.next());
    }
    EXPECT_GT(seen.size(), 990u);
}

TEST(Random, TheClockReadingChangesWhatFollows)
{
    std::uint64_t now = 1;
    SystemRandom a([&now] { return now; }, 5);
    SystemRandom b([&now] { return now; }, 5);
    EXPECT_EQ(a.next(), b.next()); // same entropy, same clock: same start
    now = 2;
    a.reseedFromClock();
    now = 3;
    b.reseedFromClock();
    EXPECT_NE(a.nextBits(), b.nextBits());
}

TEST(Random, EntropyAloneSeparatesTwoGeneratorsAtOneReading)
{
    const auto frozen = [] { return std::uint64_t(42); };
    SystemRandom a(frozen), b(frozen);
    EXPECT_NE(a.nextBits(), b.nextBits());
}
