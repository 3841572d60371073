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

TEST(SightViewFrustum, WidensAcrossToTheViewportAspect)
{
    struct Row {
        const char* what;
        Frustum in;
        double aspect;
        double left, right;
    };
    const Row rows[] = {
        {"square viewport of a wide frustum", {-0.4, 0.4, -0.25, 0.25, 1, 100}, 1.0, -0.25, 0.25},
        {"wide viewport of a square frustum", {-0.26, 0.26, -0.26, 0.26, 1, 10000}, 2.0, -0.52, 0.52},
        {"off-centre frustum keeps its proportions", {-0.1, 0.3, -0.2, 0.2, 2, 50}, 1.5, -0.15, 0.45},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Frustum out = frustumForAspect(row.in, row.aspect);
        EXPECT_NEAR(out.left, row.left, 1e-12);
        EXPECT_NEAR(out.right, row.right, 1e-12);
        EXPECT_NEAR((out.right - out.left) / (out.top - out.bottom), row.aspect, 1e-12);
        EXPECT_EQ(out.bottom, row.in.bottom);
        EXPECT_EQ(out.top, row.in.top);
        EXPECT_EQ(out.zNear, row.in.zNear);
        EXPECT_EQ(out.zFar, row.in.zFar);
    }
}

TEST(ExchangeDirectory, IsPrivateToUserAndProcess)
{
    const std::string& dir = exchangeDirectory();
    ASSERT_FALSE(dir.empty());
    struct stat st {};
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(&exchangeDirectory(), &dir);

    // Another process gets a directory of its own.
    const std::string cmd = std::string(VKRSIM_BIN_DIR) + "/test_sightclock --gtest_filter=ExchangeDirectory.PrintsItsPath";
    std::string output;
    if (FILE* child = ::popen(cmd.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, child))
            if (std::string(line).rfind("exchange: ", 0) == 0)
                output = std::string(line + 10, std::strlen(line + 10) - 1);
        ::pclose(child);
    }
    EXPECT_FALSE(output.empty());
    EXPECT_NE(output, dir);
}

TEST(ExchangeDirectory, PrintsItsPath)
{
    std::printf("\nexchange: %s\n", exchangeDirectory().c_str());
    EXPECT_FALSE(exchangeDirectory().empty());
}

TEST(ExchangeDirectory, MapsDriveBNamesIntoIt)
{
    const std::string& dir = exchangeDirectory();
    struct Row {
        const char* in;
        std::string out;
    };
    const Row rows[] = {
        {"b:\\image2.jpg", dir + "/image2.jpg"},
        {"B:\\mg.jpg", dir + "/mg.jpg"},
        {"b:\\pictures\\mg.jpg", dir + "/pictures/mg.jpg"},
        {"c:\\image2.jpg", "c:\\image2.jpg"},
        {"mg.jpg", "mg.jpg"},
        {"b:", "b:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(driveBPath(row.in), row.out);
    }
}

}  // namespace
