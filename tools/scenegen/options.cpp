#include "tools/scenegen/options.h"

#include <cstdlib>
#include <regex>

namespace scenegen {

const char* const kUsage =
    "usage: scenegen --execution NAME [--init-ref REF] [--config DIR] [--group ADDR] [--port 2000]\n"
    "                [--rate 30] [--size 640x480] [--terrain SEED] [--vkrsim SDOID] [--duration S]\n";

using rangeprogram::parseNumber;
using rangeprogram::parseWhole;

ParseResult parse(const std::vector<std::string>& args)
{
    Options o;
    const auto own = [&o](const std::string& option, const std::string& value) -> std::optional<std::string> {
        if (option == "--config") {
            if (value.empty())
                return std::string("--config needs a directory");
            o.configDir = value;
        } else if (option == "--group") {
            if (value.empty())
                return std::string("--group needs an address");
            o.group = value;
        } else if (option == "--vkrsim") {
            // The text form the middleware prints: SDO:<16 hex digits>:<serial>.
            if (!std::regex_match(value, std::regex("SDO:[0-9a-f]{16}:[0-9]+")))
                return "--vkrsim needs an SDO identity such as SDO:9f0c2a1b44d3e870:3, got \"" + value + "\"";
            o.vkrsim = value;
        } else if (option == "--size") {
            std::smatch m;
            if (!std::regex_match(value, m, std::regex("([0-9]{1,4})x([0-9]{1,4})")))
                return "--size needs WIDTHxHEIGHT, got \"" + value + "\"";
            o.width = std::atoi(m[1].str().c_str());
            o.height = std::atoi(m[2].str().c_str());
            if (o.width < 16 || o.height < 16 || o.width > 4096 || o.height > 4096)
                return std::string("--size must be 16x16 to 4096x4096");
        } else if (option == "--port") {
            const auto port = parseWhole(value, 1, 65535);
            if (!port)
                return std::string("--port must be a whole number 1..65535");
            o.port = static_cast<unsigned short>(*port);
        } else if (option == "--terrain") {
            const auto seed = parseWhole(value, 0, 4294967295LL);
            if (!seed)
                return std::string("--terrain must be a whole number 0..4294967295");
            o.terrainSeed = static_cast<unsigned>(*seed);
        } else if (option == "--rate") {
            const auto rate = parseNumber(value);
            if (!rate || *rate <= 0 || *rate > 240)
                return std::string("--rate must be above 0 and at most 240 pictures per second");
            o.rateHz = *rate;
        } else {
            return std::nullopt;
        }
        return std::string();
    };
    return rangeprogram::parseOptions(args, o, own);
}

}  // namespace scenegen
