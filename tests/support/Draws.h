// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// Random draws scripted for tests: the draw that gives a step of a given
// size, the draws of whole races, and a generator that hands out a script.
// Plain C++ (no Qt), so the rules' tests use it as the window tests do.

#include "race/rules.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <random>
#include <vector>

#include <gtest/gtest.h>

// The draw r in [0, 1) that gives a step of `size` (1..10), floor(r * 10 + 1)
// == size: the middle of the size's tenth.
constexpr float drawForStep(int size)
{
    return (float(size) - 0.5f) / 10.0f;
}

// The same from a random place in the size's tenth, away from its edges; with
// `edge`, sizes 1 and 10 take the extreme draws instead, 0 and the largest
// float below 1.
inline float drawForStep(int size, std::mt19937_64 &rng, bool edge)
{
    if (edge && size == rules::ShortestStep)
        return 0.0f;
    if (edge && size == rules::LongestStep)
        return std::nextafter(1.0f, 0.0f);
    std::uniform_real_distribution<double> within(0.05, 0.95);
    return float((size - 1 + within(rng)) / 10.0);
}

// One step of a race: the step sizes of horses 1..4.
using StepSizes = std::array<int, rules::HorseCount>;

// The draws of a race with these steps, four a step in horse order.
inline std::vector<float> drawsForSteps(const std::vector<StepSizes> &steps)
{
    std::vector<float> draws;
    draws.reserve(steps.size() * StepSizes().size());
    for (const StepSizes &step : steps) {
        for (int size : step)
            draws.push_back(drawForStep(size));
    }
    return draws;
}

// The steps of a whole race from the start that ends with exactly `winner`
// past the line and `second` the most advanced of the rest: the winner runs
// the longest step every time and crosses at the last of the fewest steps a
// race can take; the runner-up runs one less, the others two less.
inline std::vector<StepSizes> raceWonBy(int winner, int second)
{
    StepSizes step{};
    for (int horse = 1; horse <= rules::HorseCount; ++horse) {
        step[std::size_t(horse - 1)] = horse == winner   ? rules::LongestStep
                                       : horse == second ? rules::LongestStep - 1
                                                         : rules::LongestStep - 2;
    }
    return std::vector<StepSizes>(std::size_t(rules::FewestSteps), step);
}

// A generator for the rules (reseedFromClock, next) that hands out scripted
// draws in order and counts reseeds and draws. A draw past the end of the
// script fails the test and gives 0, unless a derived class supplies more.
class ScriptedDraws {
public:
    virtual ~ScriptedDraws() = default;

    void reseedFromClock() { ++reseeds; }
    float next()
    {
        ++draws;
        if (values_.empty())
            return afterScript();
        const float v = values_.front();
        values_.pop_front();
        return v;
    }

    void script(std::initializer_list<float> values) { values_.insert(values_.end(), values); }
    void script(const std::vector<float> &values) { values_.insert(values_.end(), values.begin(), values.end()); }
    void script(float value, int times) { values_.insert(values_.end(), std::size_t(times), value); }
    void clear() { values_.clear(); }
    // The scripted draws not yet taken.
    std::size_t pending() const { return values_.size(); }

    int reseeds = 0;
    int draws = 0;

protected:
    virtual float afterScript()
    {
        ADD_FAILURE() << "more draws than scripted";
        return 0.0f;
    }

private:
    std::deque<float> values_;
};
