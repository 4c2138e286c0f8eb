#pragma once
#include <time.h>

// CPU time used so far on that clock (CLOCK_THREAD_CPUTIME_ID, CLOCK_PROCESS_CPUTIME_ID), in seconds.
inline double CpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
