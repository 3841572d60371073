// Time, platform type database and the link-forcing integers.

#include "middleware/exceptions.h"
#include "models/localclasses/linkforcing.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/time.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace ORVA;

TEST(Time, UnixFormKeepsSecondsAndTruncatesToMicroseconds)
{
    const struct {
        std::int64_t seconds;
        std::uint32_t nanoseconds, expectSeconds, expectMicroseconds;
    } rows[] = {{0, 0, 0, 0}, {1700000000, 999999999, 1700000000, 999999}, {4294967295ll, 1500, 4294967295u, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.seconds);
        const auto unix = Time::Interface::create(r.seconds, r.nanoseconds)->toUnixTime();
        EXPECT_EQ(r.expectSeconds, unix->get_seconds());
        EXPECT_EQ(r.expectMicroseconds, unix->get_microseconds());
    }
}

TEST(Time, RefusesWhatTheUnixFormCannotHold)
{
    EXPECT_THROW(Time::Interface::create(-1)->toUnixTime(), Middleware::Exception);
    EXPECT_THROW(Time::Interface::create(4294967296ll)->toUnixTime(), Middleware::Exception);
    EXPECT_THROW(Time::Interface::create(0, 1000000000u), Middleware::Exception);
}

TEST(Time, NowIsTheSystemClock)
{
    const auto expected = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch()).count();
    const auto now = Time::Interface::now();
    EXPECT_LE(std::abs(now->get_seconds() - expected), 1);
    EXPECT_LT(now->get_nanoseconds(), 1000000000u);
}

TEST(PlatformType, ReadsDatabaseRowsAndNamesBadLines)
{
    const auto rows = PlatformType::readDatabaseCsv("# index,version,name\n12, 1, Tank, tracked\n\n 7,2,Truck\r\n");
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(12u, rows[0].typeIndex);
    EXPECT_EQ(1u, rows[0].databaseVersion);
    EXPECT_EQ("Tank, tracked", rows[0].name);
    EXPECT_EQ("Truck", rows[1].name);

    for (const char* bad : {"1,2\n", "x,1,a\n", "1,-2,a\n", "4294967296,1,a\n", "ok,1\n"}) {
        SCOPED_TRACE(bad);
        try {
            PlatformType::readDatabaseCsv(std::string("1,1,fine\n") + bad);
            ADD_FAILURE() << "accepted";
        } catch (const Middleware::Exception& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("line 2")) << e.what();
        }
    }
}

TEST(LinkForcing, NineIntegersAreExportedAsZero)
{
    const std::int32_t all[] = {fullConversion_Time_forceThisLibraryToBeLinked,
                                positionConversion_TSPI_forceThisLibraryToBeLinked,
                                noConversion_Acceleration_forceThisLibraryToBeLinked,
                                utilities_SRF_forceThisLibraryToBeLinked,
                                noConversion_Orientation_forceThisLibraryToBeLinked,
                                fullConversion_Position_forceThisLibraryToBeLinked,
                                noConversion_Velocity_forceThisLibraryToBeLinked,
                                userDefined_UniqueID_forceThisLibraryToBeLinked,
                                csvReader_PlatformType_forceThisLibraryToBeLinked};
    for (const auto value : all)
        EXPECT_EQ(0, value);
}
