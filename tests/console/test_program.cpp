#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// The program comes up with its dialog and keeps running until the operator closes it.
TEST(VKRsimProgram, StartsItsDialogAndKeepsRunning)
{
    vkrsim::test::ChildProcess program({vkrsim::test::builtProgram("VKRsim")}, "program.log", {},
                                       true);
    EXPECT_FALSE(program.wait(1500ms).has_value()) << vkrsim::test::readFile("program.log");
    EXPECT_TRUE(program.running());
}

}  // namespace
