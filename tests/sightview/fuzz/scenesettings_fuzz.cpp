// libFuzzer entry point: every input is read as a "SceneGeneratorconfig.xml".

#include "scenesettingsfuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkSceneSettingsInput(data, size);
    return 0;
}
