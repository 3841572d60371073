#pragma once
// Command line of uutsim.

#include "rangeprogram/rangeoptions.h"

#include <optional>
#include <string>
#include <vector>

namespace uutsim {

struct Options : rangeprogram::RangeOptions {
    int count = 1;
    double rateHz = 10.0;
    double latitude = 0.0;   // degrees, WGS-84: centre of the tracks
    double longitude = 0.0;
    double altitude = 0.0;   // metres above the ellipsoid
};

using ParseResult = rangeprogram::ParseResult<Options>;

ParseResult parse(const std::vector<std::string>& args);
extern const char* const kUsage;

}  // namespace uutsim
