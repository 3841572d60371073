#include "rangeprogram/rangeoptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace rangeprogram {

std::optional<double> parseNumber(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno == ERANGE || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long long> parseWhole(const std::string& text, long long min, long long max)
{
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0' || value < min || value > max)
        return std::nullopt;
    return value;
}

std::string refusal(const std::string& name, const std::string& what, const std::string& value)
{
    return name + " takes " + what + ", not \"" + value + "\"";
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments, const OwnOption& own)
{
    CommandLine line;
    bool haveExecution = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            line.help = true;
            return line;
        }
        if (name.rfind("--", 0) != 0) {
            line.error = "unknown argument \"" + name + "\"";
            return line;
        }
        if (i + 1 == arguments.size()) {
            line.error = name + " needs a value";
            return line;
        }
        const std::string& value = arguments[++i];
        if (name == "--execution") {
            if (value.empty()) {
                line.error = "--execution needs a non-empty name";
                return line;
            }
            line.range.execution = value;
            haveExecution = true;
        } else if (name == "--init-ref") {
            line.range.initRef = value;
        } else if (name == "--duration") {
            const auto seconds = parseNumber(value);
            if (!seconds || *seconds < 0.0) {
                line.error = refusal(name, "seconds from 0", value);
                return line;
            }
            line.range.durationSeconds = seconds;
        } else {
            const std::optional<std::string> answer = own ? own(name, value) : std::nullopt;
            if (!answer) {
                line.error = "unknown argument \"" + name + "\"";
                return line;
            }
            if (!answer->empty()) {
                line.error = *answer;
                return line;
            }
        }
    }
    if (!haveExecution)
        line.error = "--execution NAME is required";
    return line;
}

}  // namespace rangeprogram
