#include "tools/rangemon/options.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::string>;

TEST(RangemonOptions, AcceptsEveryOptionInAnyOrder)
{
    const auto parsed = rangemon::parseOptions(
        {"--verbosity", "1", "--duration", "2.5", "--init-ref", "domain=7", "--execution", "Range-1"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->execution, "Range-1");
    EXPECT_EQ(parsed.options->initRef, "domain=7");
    EXPECT_EQ(parsed.options->verbosity, 1u);
    ASSERT_TRUE(parsed.options->durationSeconds);
    EXPECT_DOUBLE_EQ(*parsed.options->durationSeconds, 2.5);
}

TEST(RangemonOptions, DefaultsToVerbosityThreeWithoutTimeLimit)
{
    const auto parsed = rangemon::parseOptions({"--execution", "E"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->verbosity, 3u);
    EXPECT_FALSE(parsed.options->durationSeconds);
    EXPECT_EQ(parsed.options->initRef, "");
}

TEST(RangemonOptions, LargestVerbosityAndZeroDurationAreValid)
{
    const auto parsed = rangemon::parseOptions({"--execution", "E", "--verbosity", "4294967295", "--duration", "0"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->verbosity, 4294967295u);
    EXPECT_EQ(*parsed.options->durationSeconds, 0.0);
}

TEST(RangemonOptions, RejectsBrokenCommandLinesWithAReason)
{
    struct Row {
        Arguments arguments;
        std::string errorPart;
    };
    const Row rows[] = {
        {{}, "--execution NAME is required"},
        {{"--verbosity", "2"}, "--execution NAME is required"},
        {{"--execution"}, "--execution needs a value"},
        {{"--execution", ""}, "non-empty"},
        {{"--execution", "E", "--verbosity", "-1"}, "\"-1\""},
        {{"--execution", "E", "--verbosity", "4294967296"}, "\"4294967296\""},
        {{"--execution", "E", "--verbosity", "2x"}, "\"2x\""},
        {{"--execution", "E", "--verbosity", ""}, "--verbosity"},
        {{"--execution", "E", "--duration", "-3"}, "\"-3\""},
        {{"--execution", "E", "--duration", "nan"}, "\"nan\""},
        {{"--execution", "E", "--duration", "inf"}, "\"inf\""},
        {{"--execution", "E", "--duration", "5s"}, "\"5s\""},
        {{"--execution", "E", "--init-ref"}, "--init-ref needs a value"},
        {{"--execution", "E", "--count", "3"}, "unknown argument \"--count\""},
        {{"E"}, "unknown argument \"E\""},
    };
    for (const Row& row : rows) {
        std::string line;
        for (const auto& argument : row.arguments)
            line += "[" + argument + "]";
        SCOPED_TRACE(line);
        const auto parsed = rangemon::parseOptions(row.arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_NE(parsed.error.find(row.errorPart), std::string::npos) << parsed.error;
    }
}

}  // namespace
