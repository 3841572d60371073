// Replays the JPEG decode fuzzer's seed inputs through its checks, so every build keeps them
// passing.

#include "fuzz/jpegfuzzcheck.h"
#include "support/fuzzcorpus.h"

#include <gtest/gtest.h>

namespace {

TEST(JpegFuzzSeeds, EverySeedPassesTheFuzzChecks)
{
    const auto seeds = vkrsim::test::fuzzCorpus(JPEG_FUZZ_CORPUS);
    ASSERT_GE(seeds.size(), 4u);
    for (const auto& [name, bytes] : seeds) {
        SCOPED_TRACE(name);
        checkJpegInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

}  // namespace
