// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#endif

namespace bench {

#ifdef _WIN32
// The working set of this process in kB: what Windows calls resident.
inline long residentKilobytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return long(counters.WorkingSetSize / 1024);
}

inline double filetimeSeconds(const FILETIME &time)
{
    return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 1e-7;
}

// CPU time this process has used, user and system, in seconds.
inline double processCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return filetimeSeconds(kernel) + filetimeSeconds(user);
}

// Wall-clock time since this process was created, in seconds: the start
// figure where no clock is shared with the program that started it (Wine).
inline double secondsSinceCreation()
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    GetSystemTimePreciseAsFileTime(&now);
    return filetimeSeconds(now) - filetimeSeconds(created);
}
#else
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
#endif

} // namespace bench
