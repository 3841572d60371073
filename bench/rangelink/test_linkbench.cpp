// The benchmark's own arithmetic: pairing commits with VKRsim updates, reading pass times out of
// the console text, and the figures over segments of a run. A fault here would print plausible
// but wrong latencies, so these run with the unit tests.

#include "bench/rangelink/cyclelog.h"
#include "bench/rangelink/lagmatcher.h"
#include "bench/rangelink/linkstats.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

using namespace linkbench;

namespace {

const PoseKey a = poseKey(400.0, 0.0, 0.0);
const PoseKey b = poseKey(399.99, 4.0, 0.0);

TEST(LagMatcher, CountsEachPositionOnceFromItsFirstSighting)
{
    struct Event {
        bool commit;
        PoseKey key;
        std::int64_t ns;
    };
    struct Row {
        const char* name;
        std::vector<Event> events;
        std::vector<std::int64_t> lags;
        std::size_t unmatched;
    };
    const Row rows[] = {
        {"commit then view", {{true, a, 100}, {false, a, 350}}, {250}, 0},
        {"repeats of a pose in later passes are no samples",
         {{true, a, 100}, {false, a, 350}, {false, a, 900}, {false, a, 1500}}, {250}, 0},
        {"view overtakes the subscriber's copy of the commit", {{false, a, 350}, {false, a, 400}, {true, a, 100}},
         {250}, 0},
        {"two poses kept apart", {{true, a, 100}, {true, b, 200}, {false, b, 260}, {false, a, 500}}, {60, 400}, 0},
        {"a view whose commit never came", {{true, a, 100}, {false, b, 300}}, {}, 1},
        {"a late copy of an already matched commit", {{true, a, 100}, {false, a, 150}, {true, a, 120}}, {50}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LagMatcher m;
        for (const auto& e : row.events)
            e.commit ? m.committed(e.key, e.ns) : m.seen(e.key, e.ns);
        std::vector<std::int64_t> lags;
        for (const auto& s : m.samples())
            lags.push_back(s.lagNs);
        EXPECT_EQ(lags, row.lags);
        EXPECT_EQ(m.unmatched(), row.unmatched);
    }
}

TEST(LagMatcher, KeysDifferInTheLastBit)
{
    const double x = 400.0;
    const double next = std::nextafter(x, 500.0);
    EXPECT_FALSE(poseKey(x, 0, 0) == poseKey(next, 0, 0));
    EXPECT_FALSE(poseKey(0, x, 0) == poseKey(0, next, 0));
    EXPECT_FALSE(poseKey(0, 0, x) == poseKey(0, 0, next));
    EXPECT_FALSE(poseKey(1, 2, 3) == poseKey(2, 1, 3));
}

std::int64_t fakeNow = 0;
std::int64_t fakeClock()
{
    return fakeNow;
}

// A fresh log file in its own directory, removed afterwards.
class LogFile {
public:
    LogFile()
    {
        char pattern[] = "/tmp/linkbench-test-XXXXXX";
        if (mkdtemp(pattern))
            dir_ = pattern;
    }
    ~LogFile()
    {
        std::remove(path().c_str());
        rmdir(dir_.c_str());
    }
    std::string path() const { return dir_ + "/console.log"; }
    std::string text() const
    {
        std::string text;
        if (std::FILE* f = std::fopen(path().c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
                text.append(buffer, n);
            std::fclose(f);
        }
        return text;
    }

private:
    std::string dir_;
};

void line(std::ostream& out, std::int64_t at, const std::string& label, double value)
{
    fakeNow = at;
    out << label << value << std::endl;
}

TEST(CycleLog, MarksPassesFromTheReportLinesAndKeepsTheText)
{
    LogFile file;
    const std::string expected =
        "  callSign: Number of Platforms = 3\nNumber of Platforms = 2\nX pos = 1.5\nTime Stamp = 120\n"
        "Time Stamp = 121\nX pos = 2.5\nNumber of Platforms = 1\nTime Stamp = 7\nTime Stamp = 8\n";
    {
        CycleLog log(file.path(), &fakeClock);
        std::ostream out(&log);
        // A callback dump that mentions a label inside a line counts for nothing.
        fakeNow = 5;
        out << "  callSign: Number of Platforms = 3" << std::endl;
        line(out, 10, "Number of Platforms = ", 2);
        line(out, 11, "X pos = ", 1.5);
        line(out, 12, "Time Stamp = ", 120);
        line(out, 15, "Time Stamp = ", 121);
        line(out, 20, "X pos = ", 2.5);  // report lines after the last time stamp do not move the end
        line(out, 30, "Number of Platforms = ", 1);
        out << "Time Stamp = " << 7 << '\n' << std::flush;
        fakeNow = 31;
        out << "Time Stamp = " << 8 << '\n' << std::flush;
        ASSERT_EQ(log.passes().size(), 2u);
        EXPECT_EQ(log.passes()[0].startNs, 10);
        EXPECT_EQ(log.passes()[0].lastReportNs, 15);
        EXPECT_EQ(log.passes()[1].startNs, 30);
        EXPECT_EQ(log.passes()[1].lastReportNs, 31);
        EXPECT_EQ(log.bytes(), expected.size());
        EXPECT_TRUE(log.firstPrinted().empty());  // no "Y pos" line: no pose
    }
    EXPECT_EQ(file.text(), expected);
}

TEST(CycleLog, TimesEachPrintedPoseAtItsFirstXLine)
{
    LogFile file;
    CycleLog log(file.path(), &fakeClock);
    std::ostream out(&log);
    line(out, 10, "Number of Platforms = ", 2);
    line(out, 11, "X pos = ", 1520.25);
    line(out, 12, "Y pos = ", -310.5);
    line(out, 13, "X pos = ", 400);
    line(out, 14, "Y pos = ", 0.001);
    line(out, 20, "Number of Platforms = ", 2);
    line(out, 21, "X pos = ", 1520.25);  // the same pose again: its first time stays
    line(out, 22, "Y pos = ", -310.5);
    line(out, 23, "X pos = ", 1520.25);  // a new pose that shares only x
    line(out, 24, "Y pos = ", -310.25);
    // A value on a line of its own and a dump line with "Y pos" inside are not poses.
    line(out, 30, "", 7);
    out << "  note: Y pos = 3" << std::endl;

    const std::unordered_map<std::string, std::int64_t> expected{
        {printedPose("1520.25", "-310.5"), 11}, {printedPose("400", "0.001"), 13},
        {printedPose("1520.25", "-310.25"), 23}};
    EXPECT_EQ(log.firstPrinted(), expected);
}

TEST(LinkStats, PrintedLagsPairCommitsWithTheirFirstPass)
{
    const std::vector<std::pair<std::string, std::int64_t>> commits{
        {"1 2", 100}, {"3 4", 200}, {"5 6", 300}, {"7 8", 400}, {"7 8", 410}, {"0 0", 50}};
    const std::unordered_map<std::string, std::int64_t> printed{{"3 4", 260}, {"1 2", 150}, {"7 8", 500}, {"0 0", 60}};
    const PrintedLags lags = printedLags(commits, printed, 100);  // the commit at 50 is before the start
    ASSERT_EQ(lags.samples.size(), 2u);
    EXPECT_EQ(lags.samples[0].seenNs, 150);  // in order of appearance
    EXPECT_EQ(lags.samples[0].lagNs, 50);
    EXPECT_EQ(lags.samples[1].seenNs, 260);
    EXPECT_EQ(lags.samples[1].lagNs, 60);
    EXPECT_EQ(lags.neverPrinted, 1u);  // "5 6"
    EXPECT_EQ(lags.ambiguous, 2u);     // both "7 8"
}

TEST(LinkStats, SegmentsCutTheRunByTimeAfterTheWarmUp)
{
    const std::int64_t s = 1000000000;
    // Lags 1..4 ms at 0, 1, 2, ... 7 s.
    std::vector<LagSample> samples;
    for (int i = 0; i < 8; ++i)
        samples.push_back({100 * s + i * s, (i % 4 + 1) * 1000000});
    const auto thirds = lagSegmentsMs(samples, 3, s);  // kept: 1..7 s, span 6 s
    ASSERT_EQ(thirds.size(), 3u);
    EXPECT_EQ(thirds[0], (std::vector<double>{2, 3}));  // 1 s, 2 s
    EXPECT_EQ(thirds[1], (std::vector<double>{4, 1}));  // 3 s, 4 s
    EXPECT_EQ(thirds[2], (std::vector<double>{2, 3, 4}));  // 5..7 s, the last one included
    EXPECT_TRUE(lagSegmentsMs({}, 3, 0)[2].empty());
    EXPECT_TRUE(lagSegmentsMs(samples, 2, 20 * s)[0].empty());
}

TEST(LinkStats, TrendIsTheSlopeOfLagOverTime)
{
    const std::int64_t s = 1000000000;
    struct Row {
        const char* name;
        double msPerSecond;
        double expected;  // ms per minute
    };
    for (const Row& row : {Row{"steady", 0, 0}, Row{"growing 0.5 ms/s", 0.5, 30}, Row{"falling", -0.1, -6}}) {
        SCOPED_TRACE(row.name);
        std::vector<LagSample> samples;
        for (int i = 0; i < 50; ++i)
            samples.push_back({1700000000 * s + i * s, static_cast<std::int64_t>((20 + row.msPerSecond * i) * 1e6)});
        EXPECT_NEAR(lagTrendMsPerMinute(samples), row.expected, 1e-6);
    }
    EXPECT_EQ(lagTrendMsPerMinute({{5, 10}}), 0);
    EXPECT_EQ(lagTrendMsPerMinute({{5, 10}, {5, 30}}), 0);
}

TEST(LinkStats, SpreadOfValues)
{
    std::vector<double> v;
    for (int i = 100; i >= 1; --i)
        v.push_back(i);
    const Spread s = spreadOf(v);
    EXPECT_EQ(s.count, 100u);
    EXPECT_EQ(s.median, 51);
    EXPECT_EQ(s.p99, 100);
    EXPECT_EQ(s.max, 100);
    EXPECT_EQ(spreadOf({}).count, 0u);
}

}  // namespace
