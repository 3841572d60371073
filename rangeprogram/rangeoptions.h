#pragma once
// The command line every range program shares: `--execution NAME [--init-ref REF] [--duration S]`
// beside options of its own, each given as `--name value`.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rangeprogram {

struct RangeOptions {
    std::string execution;                  // required, not empty
    std::string initRef;                    // empty: the middleware's defaults
    std::optional<double> durationSeconds;  // none: until SIGINT/SIGTERM
};

// A program's own option, given its name and value: std::nullopt when the name is not one of the
// program's, an empty text when taken, else why the value is refused.
using OwnOption = std::function<std::optional<std::string>(const std::string& name, const std::string& value)>;

struct CommandLine {
    RangeOptions range;
    bool help = false;   // --help or -h: print the usage, exit 0
    std::string error;   // why the command line is refused; empty when it is not
};

// `arguments` without the program name. Stops at the first error.
CommandLine parseCommandLine(const std::vector<std::string>& arguments, const OwnOption& own = {});

// Numbers of a command line: the whole text, finite. std::nullopt otherwise.
std::optional<double> parseNumber(const std::string& text);
// A whole number within [min, max].
std::optional<long long> parseWhole(const std::string& text, long long min, long long max);

// "--name takes <what>, not \"value\"": the refusal text of a bad value.
std::string refusal(const std::string& name, const std::string& what, const std::string& value);

}  // namespace rangeprogram
