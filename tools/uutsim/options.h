#pragma once
// Command line of uutsim.

#include <optional>
#include <string>
#include <vector>

namespace uutsim {

struct Options {
    std::string execution;
    std::string initRef;
    int count = 1;
    double rateHz = 10.0;
    std::optional<double> durationSeconds;  // none: until SIGINT/SIGTERM
    double latitude = 0.0;                  // degrees, WGS-84: centre of the tracks
    double longitude = 0.0;
    double altitude = 0.0;                  // metres above the ellipsoid
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // set when options is empty and help was not asked for
    bool help = false;
};

ParseResult parse(const std::vector<std::string>& args);
extern const char* const kUsage;

}  // namespace uutsim
