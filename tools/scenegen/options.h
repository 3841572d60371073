#pragma once
// Command line of scenegen.

#include <optional>
#include <string>
#include <vector>

namespace scenegen {

struct Options {
    std::string execution;
    std::string initRef;
    std::string configDir = ".";          // holds config.txt and SceneGeneratorconfig.xml
    std::optional<std::string> group;     // overrides multicast_address of SceneGeneratorconfig.xml
    unsigned short port = 2000;
    double rateHz = 30.0;                 // pictures per second
    int width = 640;                      // pixels
    int height = 480;
    unsigned terrainSeed = 1;
    std::optional<std::string> vkrsim;    // SDO identity text of the VKRsim object to follow
    std::optional<double> durationSeconds;  // none: until SIGINT/SIGTERM
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set when options is empty and help was not asked for
    bool help = false;
};

ParseResult parse(const std::vector<std::string>& args);
extern const char* const kUsage;

}  // namespace scenegen
