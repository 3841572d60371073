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

// A program's whole command line: `Options` derives from RangeOptions and adds the program's own.
template <class Options>
struct ParseResult {
    std::optional<Options> options;  // set when the command line is valid
    std::string error;               // why it is not, unless help was asked for
    bool help = false;
};

// Reads the shared options into `options` and the program's own through `own`, which fills the
// same `options` as it is given them (see OwnOption for what it returns).
template <class Options>
ParseResult<Options> parseOptions(const std::vector<std::string>& arguments, Options& options, const OwnOption& own)
{
    const CommandLine line = parseCommandLine(arguments, own);
    ParseResult<Options> result;
    result.help = line.help;
    result.error = line.error;
    if (!line.help && line.error.empty()) {
        static_cast<RangeOptions&>(options) = line.range;
        result.options = options;
    }
    return result;
}

// Numbers of a command line: the whole text, finite. std::nullopt otherwise.
std::optional<double> parseNumber(const std::string& text);
// A whole number within [min, max].
std::optional<long long> parseWhole(const std::string& text, long long min, long long max);

// "--name takes <what>, not \"value\"": the refusal text of a bad value.
std::string refusal(const std::string& name, const std::string& what, const std::string& value);

}  // namespace rangeprogram
