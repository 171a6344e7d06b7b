// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The game's state without a window: every change of money the handlers make.
#include "race/Purse.h"
#include "tests/support/Draws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using rules::Purse;
using rules::StartingMoney;

// Pair codes by name.
enum Code { P12 = 1, P13, P14, P23, P24, P34 };

Purse newGame()
{
    Purse purse;
    purse.startOver();
    return purse;
}

TEST(Purse, TheWorkedBettingSequence)
{
    Purse purse = newGame();
    EXPECT_EQ(purse.money(), 10000);
    // 1-3 left with 1500.
    ASSERT_TRUE(purse.takeStake(P13, 1500));
    EXPECT_EQ(purse.stake(P13), 1500);
    EXPECT_EQ(purse.money(), 8500);
    // 2-4 left with "abc", which reads as 0.
    ASSERT_TRUE(purse.takeStake(P24, 0));
    EXPECT_EQ(purse.stake(P24), 0);
    EXPECT_EQ(purse.money(), 8500);
    // 1-3 entered again: its shown stake comes back.
    purse.handBack(P13);
    EXPECT_EQ(purse.money(), 10000);
    // 1-3 left empty, then 2-4 unticked with its "abc" shown: nothing moves.
    ASSERT_TRUE(purse.takeStake(P13, 0));
    purse.handBack(P24);
    EXPECT_EQ(purse.money(), 10000);
    EXPECT_EQ(purse.stake(P13), 0);
}

TEST(Purse, AFractionMovesTheMoneyByItsOwnRounding)
{
    struct Case {
        std::int64_t before;
        double amount;
        std::int32_t stake;
        std::int64_t after;
    };
    const Case cases[] = {
        {10000, 2.5, 2, 9998},   // 9997.5 rounds to the even 9998
        {9999, 2.5, 2, 9996},    // 9996.5 rounds to 9996: four yen for a stake of two
        {10000, 0.5, 0, 10000},  // 9999.5 rounds to 10000
        {10000, 1.5, 2, 9998},   // 9998.5 rounds to 9998
        {10000, -300, -300, 10300},
        {10000, -2.5, -2, 10002},
        {10000, 20000, 20000, -10000},
    };
    for (const Case &c : cases) {
        Purse purse = newGame();
        if (c.before != StartingMoney) {
            ASSERT_TRUE(purse.takeStake(P34, double(StartingMoney - c.before)));
        }
        ASSERT_EQ(purse.money(), c.before);
        EXPECT_TRUE(purse.takeStake(P12, c.amount)) << c.amount;
        EXPECT_EQ(purse.stake(P12), c.stake) << c.amount;
        EXPECT_EQ(purse.money(), c.after) << c.amount;
    }
    // Entering the box again gives back the rounded stake only.
    Purse purse = newGame();
    ASSERT_TRUE(purse.takeStake(P34, 1));
    ASSERT_TRUE(purse.takeStake(P12, 2.5));
    EXPECT_EQ(purse.money(), 9996);
    purse.handBack(P12);
    EXPECT_EQ(purse.money(), 9998);
}

TEST(Purse, AStakeMustFitThirtyTwoBits)
{
    constexpr double Max = std::numeric_limits<std::int32_t>::max();
    constexpr double Min = std::numeric_limits<std::int32_t>::min();
    const double accepted[] = {Max, Min, Max - 0.5, Min - 0.5 /* rounds to the even Min */};
    for (double amount : accepted) {
        Purse purse = newGame();
        EXPECT_TRUE(purse.takeStake(P23, amount)) << amount;
        EXPECT_EQ(purse.stake(P23), std::int32_t(rules::roundHalfEven(amount)));
        EXPECT_EQ(purse.money(), rules::roundHalfEven(10000.0 - amount));
    }
    const double refused[] = {Max + 0.5, Min - 1, 3e9, -3e9, 1e300, std::nan(""),
                              std::numeric_limits<double>::infinity()};
    for (double amount : refused) {
        Purse purse = newGame();
        ASSERT_TRUE(purse.takeStake(P23, 700)); // an earlier stake on the same pair
        purse.handBack(P23);
        EXPECT_FALSE(purse.takeStake(P23, amount)) << amount;
        EXPECT_EQ(purse.stake(P23), 0) << amount;
        EXPECT_EQ(purse.money(), 10000) << amount;
    }
}

TEST(Purse, TheNextRaceLeavesALostStakeLost)
{
    Purse purse = newGame();
    ASSERT_TRUE(purse.takeStake(P14, 500));
    ASSERT_TRUE(purse.takeStake(P34, -200));
    EXPECT_EQ(purse.money(), 9700);
    // Each stake still shown is taken again, then handed back by the unticking.
    for (int code : {P14, P34}) {
        purse.loseStake(code);
        purse.handBack(code);
    }
    EXPECT_EQ(purse.money(), 9700);
}

TEST(Purse, PayoutsAreOddsTimesStakeRoundedHalfToEven)
{
    Purse purse = newGame();
    ScriptedDraws draws;
    draws.script({0.25f, 0.25f, 0.0f, 0.999f, 0.5f, 0.1f});
    purse.drawOdds(draws);
    EXPECT_EQ(draws.reseeds, 1);
    EXPECT_EQ(draws.pending(), 0u);
    EXPECT_FLOAT_EQ(purse.odds(P12), 3.5f);
    EXPECT_FLOAT_EQ(purse.odds(P14), 1.0f);
    EXPECT_FLOAT_EQ(purse.odds(P24), 6.0f);

    ASSERT_TRUE(purse.takeStake(P12, 3));
    ASSERT_TRUE(purse.takeStake(P13, 5));
    EXPECT_EQ(purse.money(), 9992);
    EXPECT_EQ(purse.payWinner(P12), 10); // 10.5 to the even 10
    EXPECT_EQ(purse.money(), 10002);
    EXPECT_EQ(purse.payWinner(P13), 18); // 17.5 to the even 18
    EXPECT_EQ(purse.money(), 10020);

    // The largest stake at the highest odds pays beyond 32 bits, in full.
    Purse rich = newGame();
    ScriptedDraws high;
    high.script(0.999f, rules::PairCount);
    rich.drawOdds(high);
    ASSERT_TRUE(rich.takeStake(P34, std::numeric_limits<std::int32_t>::max()));
    const std::int64_t paid = rich.payWinner(P34);
    EXPECT_GT(paid, std::int64_t(std::numeric_limits<std::int32_t>::max()) * 10);
    EXPECT_EQ(rich.money(), 10000 - std::int64_t(std::numeric_limits<std::int32_t>::max()) + paid);
}

TEST(Purse, RuinIsLessThanOneYenAndAFreshStartRestoresTheMoneyOnly)
{
    for (const auto &[left, ruined] : {std::pair{1, false}, {0, true}, {-1, true}, {2, false}}) {
        Purse purse = newGame();
        ASSERT_TRUE(purse.takeStake(P12, 10000 - left));
        EXPECT_EQ(purse.isRuined(), ruined) << left;
    }
    Purse purse = newGame();
    ASSERT_TRUE(purse.takeStake(P12, 12000));
    purse.startOver();
    EXPECT_EQ(purse.money(), 10000);
    // The stake still shown comes back on top of the new money.
    purse.handBack(P12);
    EXPECT_EQ(purse.money(), 22000);
}

}  // namespace
