#pragma once
// The checks one fuzz input of the "config.txt" reader goes through; shared by the libFuzzer
// entry point and the unit test that replays the seed inputs in every build.

#include <cstddef>
#include <cstdint>

// The input is the whole file. Aborts with a message when the reader's values differ from those
// of a separate line-by-line model of the format.
void checkConfigurationInput(const std::uint8_t* data, std::size_t size);
