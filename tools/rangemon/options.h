#pragma once
// Command line of rangemon:
//   rangemon --execution NAME [--init-ref REF] [--verbosity N] [--duration S]

#include "rangeprogram/rangeoptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rangemon {

struct Options : rangeprogram::RangeOptions {
    std::uint32_t verbosity = 3;
};

using ParseResult = rangeprogram::ParseResult<Options>;

// `arguments` without the program name.
ParseResult parseOptions(const std::vector<std::string>& arguments);

extern const char* const usageText;

}  // namespace rangemon
