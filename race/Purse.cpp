// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "race/Purse.h"

namespace rules {

bool Purse::takeStake(int code, double amount)
{
    const std::optional<std::int32_t> taken = stakeFromAmount(amount);
    stakes_[index(code)] = taken.value_or(0);
    if (!taken)
        return false;
    money_ = moneyAfterStake(money_, amount);
    return true;
}

std::int64_t Purse::payWinner(int code)
{
    const std::int64_t paid = payout(odds(code), stake(code));
    money_ += paid;
    return paid;
}

}  // namespace rules
