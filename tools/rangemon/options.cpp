#include "tools/rangemon/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace rangemon {

const char* const usageText =
    "usage: rangemon --execution NAME [--init-ref REF] [--verbosity N] [--duration S]";

namespace {

std::optional<std::uint32_t> parseVerbosity(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<double> parseDuration(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno == ERANGE || *end != '\0' || !std::isfinite(value) || value < 0.0)
        return std::nullopt;
    return value;
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    bool haveExecution = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name != "--execution" && name != "--init-ref" && name != "--verbosity" && name != "--duration")
            return {std::nullopt, "unknown argument \"" + name + "\""};
        if (i + 1 == arguments.size())
            return {std::nullopt, name + " needs a value"};
        const std::string& value = arguments[++i];
        if (name == "--execution") {
            if (value.empty())
                return {std::nullopt, "--execution needs a non-empty name"};
            options.execution = value;
            haveExecution = true;
        } else if (name == "--init-ref") {
            options.initRef = value;
        } else if (name == "--verbosity") {
            const auto verbosity = parseVerbosity(value);
            if (!verbosity)
                return {std::nullopt, "--verbosity takes a whole number from 0, not \"" + value + "\""};
            options.verbosity = *verbosity;
        } else {
            const auto duration = parseDuration(value);
            if (!duration)
                return {std::nullopt, "--duration takes seconds from 0, not \"" + value + "\""};
            options.durationSeconds = duration;
        }
    }
    if (!haveExecution)
        return {std::nullopt, "--execution NAME is required"};
    return {options, {}};
}

}  // namespace rangemon
