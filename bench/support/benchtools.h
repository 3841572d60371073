#pragma once
// Small pieces shared by the hand-run benchmarks: the clocks and percentiles. Child processes,
// names and files come from the tests' live-range harness (tests/support/liverange.h).

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {

// CLOCK_MONOTONIC in nanoseconds; one clock for every process of the machine.
inline std::int64_t monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The system clock in nanoseconds since 1970, the clock of the middleware's time stamps.
inline std::int64_t systemNs()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The value below which a share `p` (0..1) of the values lies; 0 for no values.
inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace bench
