// libFuzzer entry point: every input is decoded as a picture datagram of the sight's feed.

#include "jpegfuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkJpegInput(data, size);
    return 0;
}
