// Replays the "config.txt" fuzzer's seed inputs through its checks, so every build keeps them
// passing.

#include "fuzz/configfuzzcheck.h"
#include "support/fuzzcorpus.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfigurationFuzzSeeds, EverySeedPassesTheFuzzChecks)
{
    const auto seeds = vkrsim::test::fuzzCorpus(CONFIG_FUZZ_CORPUS);
    ASSERT_GE(seeds.size(), 4u);
    for (const auto& [name, bytes] : seeds) {
        SCOPED_TRACE(name);
        checkConfigurationInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

}  // namespace
