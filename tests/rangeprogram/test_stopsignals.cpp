#include "rangeprogram/stopsignals.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <thread>

using rangeprogram::StopSignals;
using namespace std::chrono_literals;

TEST(StopSignals, ASignalSentToAnyThreadIsTakenWhereTheProgramWaits)
{
    const StopSignals stop;
    EXPECT_EQ(0, stop.poll());

    const auto start = StopSignals::Clock::now();
    EXPECT_EQ(0, stop.waitUntil(start + 50ms));
    EXPECT_GE(StopSignals::Clock::now() - start, 50ms);

    // A thread started afterwards inherits the blocked set, so the signal stays pending for the
    // waiting thread instead of ending the process.
    std::thread([] { kill(getpid(), SIGTERM); }).join();
    EXPECT_EQ(SIGTERM, stop.waitUntil(StopSignals::Clock::now() + 5s));
    EXPECT_EQ(0, stop.poll());

    pthread_kill(pthread_self(), SIGINT);
    EXPECT_EQ(SIGINT, stop.wait());
    EXPECT_STREQ("SIGINT", StopSignals::name(SIGINT));
}
