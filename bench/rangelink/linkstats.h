#pragma once
// Figures from the samples of one benchmark phase: medians and tails, the same over successive
// segments of the run, and the trend of a lag over time (a lag that grows means the link falls
// behind its input).

#include "bench/rangelink/lagmatcher.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace linkbench {

struct Spread {
    std::size_t count = 0;
    double median = 0;  // unit of the input
    double p99 = 0;
    double max = 0;
};

Spread spreadOf(const std::vector<double>& values);

struct PrintedLags {
    std::vector<LagSample> samples;  // commit -> first report line with its pose
    std::size_t neverPrinted = 0;    // commits whose pose no pass reported
    std::size_t ambiguous = 0;       // commits whose printed pose another commit also has
};

// Pairs commits (printed pose, commit ns) made at or after `fromNs` with the time each printed pose
// first appeared in a pass. A pose printed by two commits cannot be told apart: neither counts.
PrintedLags printedLags(const std::vector<std::pair<std::string, std::int64_t>>& commits,
                        const std::unordered_map<std::string, std::int64_t>& firstPrinted, std::int64_t fromNs = 0);

// Lags (ms) of the samples seen after `skipNs` from the first one, cut into `parts` segments of
// equal duration between the first kept sample and the last.
std::vector<std::vector<double>> lagSegmentsMs(const std::vector<LagSample>& samples, std::size_t parts,
                                               std::int64_t skipNs);

// Least-squares slope of lag over seen time, in ms of lag per minute of run; 0 for fewer than two
// samples or all seen at one instant.
double lagTrendMsPerMinute(const std::vector<LagSample>& samples);

}  // namespace linkbench
