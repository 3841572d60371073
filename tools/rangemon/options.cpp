#include "tools/rangemon/options.h"

#include <limits>

namespace rangemon {

const char* const usageText =
    "usage: rangemon --execution NAME [--init-ref REF] [--verbosity N] [--duration S]";

ParseResult parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    const auto own = [&options](const std::string& name, const std::string& value) -> std::optional<std::string> {
        if (name != "--verbosity")
            return std::nullopt;
        const auto verbosity =
            value.find('-') == std::string::npos
                ? rangeprogram::parseWhole(value, 0, std::numeric_limits<std::uint32_t>::max())
                : std::nullopt;
        if (!verbosity)
            return rangeprogram::refusal(name, "a whole number from 0", value);
        options.verbosity = static_cast<std::uint32_t>(*verbosity);
        return std::string();
    };
    return rangeprogram::parseOptions(arguments, options, own);
}

}  // namespace rangemon
