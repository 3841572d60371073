#include "tools/uutsim/options.h"

namespace uutsim {

using rangeprogram::parseNumber;
using rangeprogram::parseWhole;
using rangeprogram::refusal;

const char* const kUsage =
    "usage: uutsim --execution NAME [--init-ref REF] [--count N] [--rate HZ] [--duration S]\n"
    "              [--lat DEG --lon DEG --alt M]\n";

ParseResult parse(const std::vector<std::string>& args)
{
    Options o;
    const auto own = [&o](const std::string& name, const std::string& value) -> std::optional<std::string> {
        if (name == "--count") {
            const auto count = parseWhole(value, 1, 10000);
            if (!count)
                return refusal(name, "a whole number 1..10000", value);
            o.count = static_cast<int>(*count);
            return std::string();
        }
        double* target = name == "--rate" ? &o.rateHz
                         : name == "--lat" ? &o.latitude
                         : name == "--lon" ? &o.longitude
                         : name == "--alt" ? &o.altitude
                                           : nullptr;
        if (!target)
            return std::nullopt;
        const auto number = parseNumber(value);
        if (!number)
            return refusal(name, "a number", value);
        if (name == "--rate" && (*number <= 0 || *number > 1000))
            return refusal(name, "a rate above 0 and at most 1000 Hz", value);
        if (name == "--lat" && (*number < -90 || *number > 90))
            return refusal(name, "degrees within -90..90", value);
        *target = *number;
        return std::string();
    };
    return rangeprogram::parseOptions(args, o, own);
}

}  // namespace uutsim
