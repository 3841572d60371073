#pragma once
// Command line of scenegen.

#include "rangeprogram/rangeoptions.h"

#include <optional>
#include <string>
#include <vector>

namespace scenegen {

struct Options : rangeprogram::RangeOptions {
    std::string configDir = ".";          // holds config.txt and SceneGeneratorconfig.xml
    std::optional<std::string> group;     // overrides multicast_address of SceneGeneratorconfig.xml
    unsigned short port = 2000;
    double rateHz = 30.0;                 // pictures per second
    int width = 640;                      // pixels
    int height = 480;
    unsigned terrainSeed = 1;
    std::optional<std::string> vkrsim;    // SDO identity text of the VKRsim object to follow
};

using ParseResult = rangeprogram::ParseResult<Options>;

ParseResult parse(const std::vector<std::string>& args);
extern const char* const kUsage;

}  // namespace scenegen
