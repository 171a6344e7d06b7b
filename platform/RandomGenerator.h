// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

// The program's random numbers: a reseed from the clock and a draw of a
// single-precision value uniform in [0, 1). Windows take a RandomGenerator by
// reference so tests can script every draw.
class RandomGenerator {
public:
    virtual ~RandomGenerator() = default;
    virtual void reseedFromClock() = 0;
    virtual float next() = 0;
};

// 24 random bits as a float in [0, 1): every value is exact in single
// precision, so the draw is never rounded up to 1.
constexpr float unitFromBits(std::uint64_t bits)
{
    return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}

// xoshiro256** seeded from the system's entropy and a high-resolution clock.
// A reseed mixes a nanosecond clock reading into the state instead of
// replacing it, so reseeds that see the same clock reading (the race reseeds
// before every step, many within one clock tick) still give fresh numbers.
class SystemRandom final : public RandomGenerator {
public:
    using Clock = std::function<std::uint64_t()>;

    static std::uint64_t steadyNanoseconds();
    static std::uint64_t systemEntropy();

    explicit SystemRandom(Clock clockNanoseconds = &SystemRandom::steadyNanoseconds,
                          std::uint64_t entropy = systemEntropy());

    void reseedFromClock() override;
    float next() override { return unitFromBits(nextBits()); }
    std::uint64_t nextBits();

private:
    Clock clock_;
    std::uint64_t state_[4];
};
