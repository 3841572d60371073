// libFuzzer entry point: parse, query, write back and re-read every input.

#include "xmlfuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkXmlInput(data, size);
    return 0;
}
