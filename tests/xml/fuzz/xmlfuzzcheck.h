#pragma once
// The checks one fuzz input goes through; shared by the libFuzzer entry point and the unit test
// that replays the seed inputs in every build.

#include <cstddef>
#include <cstdint>

// First byte: options (bit 0 UTF-8 mode, bit 1 whitespace dropping, bit 2 search the root "r",
// bit 3 indent the written text); the rest is the document. Aborts with a message on a broken
// invariant.
void checkXmlInput(const std::uint8_t* data, std::size_t size);
