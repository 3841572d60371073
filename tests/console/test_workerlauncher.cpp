#include "console/workerlauncher.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace console;

namespace {

using namespace std::chrono_literals;

std::atomic<int> starts{0};
std::atomic<bool> release{false};
std::atomic<void*> seenArg{nullptr};

ACE_THR_FUNC_RETURN entry(void* arg)
{
    seenArg = arg;
    ++starts;
    while (!release)
        std::this_thread::sleep_for(2ms);
    return 0;
}

TEST(WorkerLauncher, RunsOneThreadAtATimeAndKnowsWhenItsEntryReturned)
{
    WorkerLauncher launcher;
    int record = 0;
    EXPECT_FALSE(launcher.running());
    ASSERT_EQ(launcher.spawn(&entry, &record), WorkerLauncher::Result::Started);
    EXPECT_TRUE(launcher.running());
    ASSERT_TRUE(vkrsim::test::eventually([] { return starts == 1; }, 2s));
    EXPECT_EQ(seenArg, &record);
    EXPECT_EQ(launcher.spawn(&entry, &record), WorkerLauncher::Result::AlreadyRunning);
    release = true;
    ASSERT_TRUE(vkrsim::test::eventually([&] { return !launcher.running(); }, 2s));
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(launcher.spawn(&entry, nullptr), WorkerLauncher::Result::Started);
    ASSERT_TRUE(vkrsim::test::eventually([&] { return !launcher.running(); }, 2s));
    EXPECT_EQ(starts, 2);
}

}  // namespace
