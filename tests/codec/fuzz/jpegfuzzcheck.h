#pragma once
// The checks one fuzz input of the JPEG decode goes through; shared by the libFuzzer entry point
// and the unit test that replays the seed inputs in every build.

#include <cstddef>
#include <cstdint>

// The input is one datagram as the sight's feed receives it. A decode must either fail with an
// empty image or give a sound one, the same whether or not the image held an earlier picture;
// a small decoded picture must survive the write to a file and the read back. Aborts with a
// message on a broken invariant.
void checkJpegInput(const std::uint8_t* data, std::size_t size);
