// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

// What the fuzz targets share: a failed property prints what it saw and
// aborts, which libFuzzer reports as a crash with the input that caused it,
// and which fails the corpus replay in the ordinary test run.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                                   \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                                \
            std::fprintf(stderr, __VA_ARGS__);                                       \
            std::fputc('\n', stderr);                                                \
            std::abort();                                                            \
        }                                                                            \
    } while (false)

// Harness code that runs in a hot loop and whose branches tell the fuzzer
// nothing about the code under test: no coverage feedback and no sanitizer
// checks in it, and not inlined into the code under test to get them there.
#if defined(__clang__)
#define FUZZ_HARNESS __attribute__((noinline, no_sanitize("coverage", "address", "undefined")))
#else
#define FUZZ_HARNESS
#endif
