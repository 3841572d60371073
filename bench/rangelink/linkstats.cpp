#include "bench/rangelink/linkstats.h"

#include "bench/support/benchtools.h"

#include <algorithm>

namespace linkbench {

Spread spreadOf(const std::vector<double>& values)
{
    Spread s;
    s.count = values.size();
    if (values.empty())
        return s;
    s.median = bench::percentile(values, 0.5);
    s.p99 = bench::percentile(values, 0.99);
    s.max = *std::max_element(values.begin(), values.end());
    return s;
}

PrintedLags printedLags(const std::vector<std::pair<std::string, std::int64_t>>& commits,
                        const std::unordered_map<std::string, std::int64_t>& firstPrinted, std::int64_t fromNs)
{
    std::unordered_map<std::string, std::size_t> uses;
    for (const auto& c : commits)
        ++uses[c.first];
    PrintedLags result;
    for (const auto& c : commits) {
        if (c.second < fromNs)
            continue;
        if (uses[c.first] > 1) {
            ++result.ambiguous;
            continue;
        }
        const auto printed = firstPrinted.find(c.first);
        if (printed == firstPrinted.end())
            ++result.neverPrinted;
        else
            result.samples.push_back({printed->second, printed->second - c.second});
    }
    std::sort(result.samples.begin(), result.samples.end(),
              [](const LagSample& a, const LagSample& b) { return a.seenNs < b.seenNs; });
    return result;
}

std::vector<std::vector<double>> lagSegmentsMs(const std::vector<LagSample>& samples, std::size_t parts,
                                               std::int64_t skipNs)
{
    std::vector<std::vector<double>> segments(parts);
    if (samples.empty() || parts == 0)
        return segments;
    std::int64_t first = samples.front().seenNs, last = first;
    for (const auto& s : samples) {
        first = std::min(first, s.seenNs);
        last = std::max(last, s.seenNs);
    }
    const std::int64_t from = first + skipNs;
    if (last < from)
        return segments;
    const double span = static_cast<double>(last - from);
    for (const auto& s : samples) {
        if (s.seenNs < from)
            continue;
        // The last sample would open a part of its own: it belongs to the last one.
        const auto part = span > 0 ? static_cast<std::size_t>(static_cast<double>(s.seenNs - from) / span *
                                                              static_cast<double>(parts))
                                   : 0;
        segments[std::min(part, parts - 1)].push_back(static_cast<double>(s.lagNs) / 1e6);
    }
    return segments;
}

double lagTrendMsPerMinute(const std::vector<LagSample>& samples)
{
    if (samples.size() < 2)
        return 0;
    // Relative to the first sample, in seconds and ms, to keep the sums well conditioned.
    const std::int64_t origin = samples.front().seenNs;
    double sumT = 0, sumL = 0;
    for (const auto& s : samples) {
        sumT += static_cast<double>(s.seenNs - origin) / 1e9;
        sumL += static_cast<double>(s.lagNs) / 1e6;
    }
    const double n = static_cast<double>(samples.size());
    const double meanT = sumT / n, meanL = sumL / n;
    double sxx = 0, sxy = 0;
    for (const auto& s : samples) {
        const double t = static_cast<double>(s.seenNs - origin) / 1e9 - meanT;
        sxx += t * t;
        sxy += t * (static_cast<double>(s.lagNs) / 1e6 - meanL);
    }
    return sxx > 0 ? sxy / sxx * 60.0 : 0;
}

}  // namespace linkbench
