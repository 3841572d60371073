// Replays the scene settings fuzzer's seed inputs through its checks, so every build keeps them
// passing.

#include "tests/sightview/fuzz/scenesettingsfuzzcheck.h"
#include "support/fuzzcorpus.h"
#include "tests/xml/xmltesting.h"

namespace {

class SceneSettingsFuzzSeeds : public xmltest::XmlTest {};

TEST_F(SceneSettingsFuzzSeeds, EverySeedPassesTheFuzzChecks)
{
    const auto seeds = vkrsim::test::fuzzCorpus(SCENESETTINGS_FUZZ_CORPUS);
    ASSERT_GE(seeds.size(), 4u);
    for (const auto& [name, bytes] : seeds) {
        SCOPED_TRACE(name);
        checkSceneSettingsInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

}  // namespace
