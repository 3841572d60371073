#include "stateblock/stateblock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

// Runs first in this executable (gtest keeps file order): nothing has written the block yet.
TEST(StateBlock, EveryFieldStartsAtZero)
{
    EXPECT_EQ(stateBlock.panDegrees, 0);
    EXPECT_EQ(stateBlock.tiltDegrees, 0);
    for (double v : {double(stateBlock.uutX), double(stateBlock.uutY), double(stateBlock.uutZ),
                     double(stateBlock.uutPsi), double(stateBlock.uutTheta), double(stateBlock.uutPhi),
                     double(stateBlock.sightPsi), double(stateBlock.sightTheta), double(stateBlock.sightPhi)})
        EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(stateBlock.stopSession);
    EXPECT_FALSE(stateBlock.stopRender);
}

// A reader never sees half of a double: every value read is one of the values written.
TEST(StateBlock, DoublesAreNeverTorn)
{
    const double a = 1234.5, b = -9.87654321e300;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200000; ++i)
            stateBlock.uutX = (i & 1) ? a : b;
        done = true;
    });
    long torn = 0;
    while (!done) {
        const double v = stateBlock.uutX;
        if (v != a && v != b && v != 0.0)
            ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    stateBlock.uutX = 0.0;
}


}  // namespace
