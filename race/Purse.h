// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// The game's state: the money on hand, the six pairs' odds and stakes, and
// every change the game makes to them. Plain C++ with no Qt: the main window
// forwards its events here and shows what comes back.

#include "race/rules.h"

#include <array>
#include <cstdint>

namespace rules {

// The money of a new game and of every fresh start.
constexpr std::int64_t StartingMoney = 10000;

class Purse {
public:
    // Yen on hand. 64 bits: no sum of money, stakes and payouts can wrap, so
    // nothing is lost or created at the edges of the 32-bit range.
    std::int64_t money() const { return money_; }
    // A pair's odds and the stake last placed on it, by pair code 1..6. A
    // stake means something only while its box shows it; the window knows
    // when that is.
    float odds(int code) const { return odds_[index(code)]; }
    std::int32_t stake(int code) const { return stakes_[index(code)]; }

    // New odds for the six pairs: the generator is reseeded once, then one
    // draw per pair in pair order. Random: void reseedFromClock(), float next().
    template <class Random>
    void drawOdds(Random &rng)
    {
        rng.reseedFromClock();
        for (float &odds : odds_)
            odds = oddsFromRandom(rng.next());
    }

    // The money of a new game, and of a fresh start (stakes still shown stay
    // as they are and come back on top of it).
    void startOver() { money_ = StartingMoney; }

    // A box left with an amount: the amount rounded is the pair's stake, and
    // the unrounded amount leaves the money (the difference is rounded), so an
    // amount with a fraction moves the money by its own rounding. An amount
    // whose rounded value does not fit a 32-bit stake is refused: the stake
    // becomes 0, the money stays, and this returns false.
    bool takeStake(int code, double amount);

    // A shown stake comes back: its box is entered again or its pair unticked.
    void handBack(int code) { money_ += stake(code); }

    // The next race clears a stake still shown by first taking it again, so
    // that the hand-back of the unticking leaves it lost.
    void loseStake(int code) { money_ -= stake(code); }

    // Pays the winning pair's stake: odds times stake, rounded half to even,
    // added to the money. Returns the payout.
    std::int64_t payWinner(int code);

    // Ruined: less than one yen left.
    bool isRuined() const { return money_ < 1; }

private:
    static std::size_t index(int code) { return static_cast<std::size_t>(code - 1); }

    std::int64_t money_ = 0;
    std::array<float, PairCount> odds_{};
    std::array<std::int32_t, PairCount> stakes_{};
};

}  // namespace rules
