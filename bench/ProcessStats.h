// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bench {

// VmRSS of this process in kB, from /proc; -1 where there is none.
inline long residentKilobytes()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            kb = std::atol(line + 6);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

// CPU time this process has used, user and system, in seconds.
inline double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// CPU time the calling thread has used, in seconds: unlike the wall clock it
// does not count the time other programs on a busy machine hold the CPU.
inline double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

} // namespace bench
