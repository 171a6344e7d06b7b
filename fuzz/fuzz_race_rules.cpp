// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The race rules on what the fuzzer chooses: the first byte picks the test.
//  - nameWinningPair over four arbitrary floats (NaN, infinities, ties): when
//    it names a pair, the pair holds a horse past the line and that horse's
//    unique most advanced rival, and it is the last such horse; when it names
//    none, no horse past the line has a unique most advanced rival.
//  - runRace over generator outputs taken from the input (24-bit draws in
//    [0, 1), the input repeated as long as the race needs), from the start or
//    from start positions the input gives: the race ends as soon as a horse
//    is past the line, every horse has moved by exactly the steps of its
//    draws and stands at 475 or more, and from the start the race takes
//    636..6356 steps.

#include "FuzzCheck.h"
#include "race/rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using rules::FinishLine;
using rules::HorseCount;
using rules::StartLeft;

// The rival of horse x that is strictly ahead (smaller Left) of both others; 0 if none.
int uniqueLeader(const std::array<float, HorseCount> &left, int x)
{
    int leader = 0;
    for (int y = 1; y <= HorseCount; ++y) {
        if (y == x)
            continue;
        bool ahead = true;
        for (int z = 1; z <= HorseCount; ++z)
            if (z != x && z != y && !(left[y - 1] < left[z - 1]))
                ahead = false;
        if (ahead) {
            FUZZ_CHECK(leader == 0, "two rivals strictly ahead of each other");
            leader = y;
        }
    }
    return leader;
}

void checkWinningPair(const std::uint8_t *data, std::size_t size)
{
    rules::ArrayHorses horses;
    std::array<float, HorseCount> left{};
    std::memcpy(left.data(), data, std::min(size, sizeof left));
    horses.positions = left;

    // A code the function never writes, to see whether it wrote one.
    constexpr std::int16_t untouched = -7;
    std::int16_t code = untouched;
    rules::nameWinningPair(horses, code);

    int expectedX = 0, expectedY = 0;
    for (int x = 1; x <= HorseCount; ++x) {
        if (!(left[x - 1] < FinishLine))
            continue;
        if (const int y = uniqueLeader(left, x)) {
            expectedX = x;
            expectedY = y;
        }
    }
    const auto text = [&] {
        static char buffer[200];
        std::snprintf(buffer, sizeof buffer, "positions %.9g %.9g %.9g %.9g, code %d", left[0], left[1],
                      left[2], left[3], code);
        return buffer;
    };
    FUZZ_CHECK(horses.positions == left || std::memcmp(&horses.positions, &left, sizeof left) == 0,
               "%s: the positions changed", text());
    if (expectedX == 0) {
        FUZZ_CHECK(code == untouched, "%s: a pair was named where none is", text());
        return;
    }
    FUZZ_CHECK(code >= 1 && code <= rules::PairCount, "%s: no pair named", text());
    const auto [a, b] = rules::pairHorses(code);
    const bool holdsBoth = (a == expectedX && b == expectedY) || (a == expectedY && b == expectedX);
    FUZZ_CHECK(holdsBoth, "%s: expected horses %d and %d", text(), expectedX, expectedY);
    // The named pair's horse past the line has the other as its unique leader.
    const bool aWins = left[a - 1] < FinishLine && uniqueLeader(left, a) == b;
    const bool bWins = left[b - 1] < FinishLine && uniqueLeader(left, b) == a;
    FUZZ_CHECK(aWins || bWins, "%s: the pair is not a horse past the line and its leader", text());
}

// Draws k / 2^24 from three input bytes each (the last ones filled up with
// zeros), repeated as long as the race needs, and adds up the steps the rule
// gives each horse: floor(k * 10 / 2^24) + 1 in exact integer arithmetic, for
// horses 1, 2, 3, 4 in draw order.
class InputRandom {
public:
    InputRandom(const std::uint8_t *data, std::size_t size)
    {
        for (std::size_t i = 0; i < size || draws_.empty(); i += 3) {
            std::uint32_t k = 0;
            for (std::size_t j = i; j < i + 3; ++j)
                k = (k << 8) | (j < size ? data[j] : 0u);
            draws_.push_back({float(k) / 16777216.0f, long((std::uint64_t(k) * 10) >> 24) + 1});
        }
        first_ = draws_.data();
        count_ = draws_.size();
    }

    FUZZ_HARNESS void reseedFromClock() { ++reseeds; }

    // Plain pointers: a library call here would come back instrumented.
    FUZZ_HARNESS float next()
    {
        const Draw &draw = first_[at_];
        if (++at_ == count_)
            at_ = 0;
        moved_[draws % HorseCount] += draw.step;
        ++draws;
        return draw.value;
    }

    long movedBy(std::size_t horse) const { return moved_[horse]; }

    long reseeds = 0;
    long draws = 0;

private:
    struct Draw {
        float value;
        long step;
    };
    std::vector<Draw> draws_;
    const Draw *first_ = nullptr;
    std::size_t count_ = 0;
    std::size_t at_ = 0;
    long moved_[HorseCount] = {};
};

// A race from the start, or from start positions the input gives: whole
// twips anywhere from the line to the start.
void checkRace(const std::uint8_t *data, std::size_t size, bool fromTheStart)
{
    rules::ArrayHorses horses;
    if (!fromTheStart) {
        for (std::size_t h = 0; h < HorseCount; ++h) {
            const unsigned v = size >= 2 ? unsigned(data[0]) << 8 | data[1] : 0;
            horses.positions[h] = FinishLine + float(v % unsigned(StartLeft - FinishLine + 1));
            data += std::min<std::size_t>(size, 2);
            size -= std::min<std::size_t>(size, 2);
        }
    }
    const std::array<float, HorseCount> start = horses.positions;

    InputRandom random(data, size);
    long lastStep = 0;
    bool pastTheLine = false;
    const float *positions = horses.positions.data();
    const long steps = rules::runRace(horses, random, [&](long done) FUZZ_HARNESS {
        FUZZ_CHECK(done == lastStep + 1, "step %ld reported after %ld", done, lastStep);
        FUZZ_CHECK(!pastTheLine, "the race went on after step %ld took a horse past the line", done - 1);
        lastStep = done;
        for (int h = 0; h < HorseCount; ++h)
            pastTheLine = pastTheLine || positions[h] < FinishLine;
    });

    FUZZ_CHECK(steps == lastStep, "%ld steps, %ld reported", steps, lastStep);
    FUZZ_CHECK(random.reseeds == steps, "%ld reseeds for %ld steps", random.reseeds, steps);
    FUZZ_CHECK(random.draws == steps * 4, "%ld draws for %ld steps", random.draws, steps);
    // Each step moves a horse by 1 to 10: the leader at the start needs this many.
    const long nearest = long(*std::min_element(start.begin(), start.end()) - FinishLine);
    FUZZ_CHECK(steps >= (nearest + 10) / 10 && steps <= nearest + 1, "%ld steps from %ld twips", steps,
               nearest);
    if (fromTheStart)
        FUZZ_CHECK(steps >= rules::FewestSteps && steps <= rules::MostSteps, "%ld steps", steps);

    bool anyPast = false;
    for (std::size_t h = 0; h < HorseCount; ++h) {
        const float left = horses.positions[h];
        FUZZ_CHECK(left == start[h] - float(random.movedBy(h)), "horse %zu at %.9g after moving %ld from %.9g",
                   h + 1, left, random.movedBy(h), start[h]);
        FUZZ_CHECK(left >= FinishLine - 10, "horse %zu at %.9g", h + 1, left);
        anyPast = anyPast || left < FinishLine;
    }
    FUZZ_CHECK(anyPast, "the race ended with no horse past the line");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    switch (data[0] % 3) {
    case 0: checkWinningPair(data + 1, size - 1); break;
    case 1: checkRace(data + 1, size - 1, true); break;
    default: checkRace(data + 1, size - 1, false); break;
    }
    return 0;
}
