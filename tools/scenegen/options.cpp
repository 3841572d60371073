#include "tools/scenegen/options.h"

#include <cmath>
#include <cstdlib>
#include <regex>

namespace scenegen {

const char* const kUsage =
    "usage: scenegen --execution NAME [--init-ref REF] [--config DIR] [--group ADDR] [--port 2000]\n"
    "                [--rate 30] [--size 640x480] [--terrain SEED] [--vkrsim SDOID] [--duration S]\n";

namespace {

bool number(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(out);
}

bool whole(const std::string& text, double low, double high, double& out)
{
    return number(text, out) && out == std::floor(out) && out >= low && out <= high;
}

}  // namespace

ParseResult parse(const std::vector<std::string>& args)
{
    ParseResult result;
    Options o;
    bool hasExecution = false;
    auto fail = [&](std::string text) {
        result.error = std::move(text);
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            result.help = true;
            return result;
        }
        if (i + 1 >= args.size())
            return fail("option " + option + " needs a value");
        const std::string& value = args[++i];
        double v = 0.0;
        if (option == "--execution") {
            o.execution = value;
            hasExecution = !value.empty();
        } else if (option == "--init-ref") {
            o.initRef = value;
        } else if (option == "--config") {
            if (value.empty())
                return fail("--config needs a directory");
            o.configDir = value;
        } else if (option == "--group") {
            if (value.empty())
                return fail("--group needs an address");
            o.group = value;
        } else if (option == "--vkrsim") {
            // The text form the middleware prints: SDO:<16 hex digits>:<serial>.
            if (!std::regex_match(value, std::regex("SDO:[0-9a-f]{16}:[0-9]+")))
                return fail("--vkrsim needs an SDO identity such as SDO:9f0c2a1b44d3e870:3, got \"" + value + "\"");
            o.vkrsim = value;
        } else if (option == "--size") {
            std::smatch m;
            if (!std::regex_match(value, m, std::regex("([0-9]{1,4})x([0-9]{1,4})")))
                return fail("--size needs WIDTHxHEIGHT, got \"" + value + "\"");
            o.width = std::atoi(m[1].str().c_str());
            o.height = std::atoi(m[2].str().c_str());
            if (o.width < 16 || o.height < 16 || o.width > 4096 || o.height > 4096)
                return fail("--size must be 16x16 to 4096x4096");
        } else if (option == "--port") {
            if (!whole(value, 1, 65535, v))
                return fail("--port must be a whole number 1..65535");
            o.port = static_cast<unsigned short>(v);
        } else if (option == "--terrain") {
            if (!whole(value, 0, 4294967295.0, v))
                return fail("--terrain must be a whole number 0..4294967295");
            o.terrainSeed = static_cast<unsigned>(v);
        } else if (option == "--rate") {
            if (!number(value, v) || v <= 0 || v > 240)
                return fail("--rate must be above 0 and at most 240 pictures per second");
            o.rateHz = v;
        } else if (option == "--duration") {
            if (!number(value, v) || v < 0)
                return fail("--duration must be a number of seconds, not negative");
            o.durationSeconds = v;
        } else {
            return fail("unknown option " + option);
        }
    }
    if (!hasExecution)
        return fail("--execution is required");
    result.options = o;
    return result;
}

}  // namespace scenegen
