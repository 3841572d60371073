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

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set when options is empty and help was not asked for
    bool help = false;
};

ParseResult parse(const std::vector<std::string>& args);
extern const char* const kUsage;

}  // namespace scenegen
