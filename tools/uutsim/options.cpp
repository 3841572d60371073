#include "tools/uutsim/options.h"

#include <cmath>
#include <cstdlib>

namespace uutsim {

const char* const kUsage =
    "usage: uutsim --execution NAME [--init-ref REF] [--count N] [--rate HZ] [--duration S]\n"
    "              [--lat DEG --lon DEG --alt M]\n";

namespace {

bool number(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(out);
}

}  // namespace

ParseResult parse(const std::vector<std::string>& args)
{
    ParseResult result;
    Options o;
    bool hasExecution = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            result.help = true;
            return result;
        }
        if (i + 1 >= args.size()) {
            result.error = "option " + option + " needs a value";
            return result;
        }
        const std::string& value = args[++i];
        double v = 0.0;
        if (option == "--execution") {
            o.execution = value;
            hasExecution = true;
        } else if (option == "--init-ref") {
            o.initRef = value;
        } else if (!number(value, v)) {
            result.error = option == "--count" || option == "--rate" || option == "--duration" || option == "--lat" ||
                                   option == "--lon" || option == "--alt"
                               ? "option " + option + " needs a number, got \"" + value + "\""
                               : "unknown option " + option;
            return result;
        } else if (option == "--count") {
            if (v < 1 || v > 10000 || v != std::floor(v)) {
                result.error = "--count must be a whole number 1..10000";
                return result;
            }
            o.count = static_cast<int>(v);
        } else if (option == "--rate") {
            if (v <= 0 || v > 1000) {
                result.error = "--rate must be above 0 and at most 1000 Hz";
                return result;
            }
            o.rateHz = v;
        } else if (option == "--duration") {
            if (v < 0) {
                result.error = "--duration must not be negative";
                return result;
            }
            o.durationSeconds = v;
        } else if (option == "--lat") {
            if (v < -90 || v > 90) {
                result.error = "--lat must be within -90..90 degrees";
                return result;
            }
            o.latitude = v;
        } else if (option == "--lon") {
            o.longitude = v;
        } else if (option == "--alt") {
            o.altitude = v;
        } else {
            result.error = "unknown option " + option;
            return result;
        }
    }
    if (!hasExecution) {
        result.error = "--execution is required";
        return result;
    }
    result.options = o;
    return result;
}

}  // namespace uutsim
