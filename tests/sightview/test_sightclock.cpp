// Pure parts of the sight view: clock text, frustum widening, drive B: and its directory.

#include "sightview/exchangedirectory.h"
#include "sightview/sightclock.h"
#include "sightview/sightview.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

using namespace sightview;

namespace {

std::tm localTimeOf(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    std::mktime(&t);  // fills the year day
    return t;
}

TEST(SightClock, PadsEveryFieldWithSpaces)
{
    struct Row {
        const char* what;
        std::tm time;
        int frame;
        const char* expected;
    };
    const Row rows[] = {
        {"1 January 09:05:07, first frame", localTimeOf(2025, 1, 1, 9, 5, 7), 0, "  0: 9: 5: 7.  0"},
        {"31 December of a leap year", localTimeOf(2024, 12, 31, 23, 59, 58), 1999, "365:23:59:58.999"},
        {"31 December of a common year", localTimeOf(2025, 12, 31, 0, 0, 0), 1005, "364: 0: 0: 0.  5"},
        {"fraction is the counter modulo 1000", localTimeOf(2025, 2, 1, 12, 30, 45), 123456, " 31:12:30:45.456"},
        {"a negative counter prints its positive remainder", localTimeOf(2025, 1, 2, 1, 2, 3), -1, "  1: 1: 2: 3.999"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SightClockBuffer buffer;
        EXPECT_STREQ(formatSightClock(row.time, row.frame, buffer), row.expected);
    }
}

TEST(SightClock, FrameCounterWrapsToZeroInsteadOfOverflowing)
{
    EXPECT_EQ(nextFrameCounter(0), 1);
    EXPECT_EQ(nextFrameCounter(4), 5);
    EXPECT_EQ(nextFrameCounter(INT_MAX), 0);
}

}  // namespace
