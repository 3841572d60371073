#pragma once
// The checks one fuzz input of the scene settings reader goes through; shared by the libFuzzer
// entry point and the unit test that replays the seed inputs in every build.

#include <cstddef>
#include <cstdint>

// The input is the whole "SceneGeneratorconfig.xml", read as the program reads it (file, encoding
// sniffing, root "MGXML"). A document the program would accept must give the values a separate
// walk of the tree finds; one it would refuse must give a message of bounded length. Aborts with a
// message on a broken invariant.
void checkSceneSettingsInput(const std::uint8_t* data, std::size_t size);
