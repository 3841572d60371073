// libFuzzer entry point: every input is read as a "config.txt" and checked against the model.

#include "configfuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkConfigurationInput(data, size);
    return 0;
}
