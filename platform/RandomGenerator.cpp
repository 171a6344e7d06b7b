// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/RandomGenerator.h"

#include <chrono>
#include <random>

namespace {
std::uint64_t splitMix(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}
} // namespace

std::uint64_t SystemRandom::steadyNanoseconds()
{
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

std::uint64_t SystemRandom::systemEntropy()
{
    std::random_device device;
    return (std::uint64_t(device()) << 32) ^ device();
}

SystemRandom::SystemRandom(Clock clockNanoseconds, std::uint64_t entropy)
    : clock_(std::move(clockNanoseconds))
{
    std::uint64_t seed = entropy ^ rotl(clock_(), 32);
    for (auto& word : state_)
        word = splitMix(seed);
}

void SystemRandom::reseedFromClock()
{
    // Stir the reading into the whole state, then step once so the next draw
    // depends on every word; the previous state keeps all its randomness.
    std::uint64_t reading = clock_();
    for (auto& word : state_)
        word ^= splitMix(reading);
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0)
        state_[0] = 1; // the one state xoshiro cannot leave
    nextBits();
}

std::uint64_t SystemRandom::nextBits()
{
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}
