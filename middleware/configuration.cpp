#include "middleware/configuration.h"

#include "middleware/exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace ORVA::Middleware {

namespace {

struct Parsed {
    std::string initReference, executionName, sessionName;
    int joinTimeoutMs = 3000;
    std::vector<int> consumed;  // indexes of argv entries that were options or their values
};

int parseTimeout(const char* text)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > 3600000)
        throw Exception(std::string("Configuration: -joinTimeout needs milliseconds 0..3600000, got \"") +
                        text + "\"");
    return static_cast<int>(value);
}

Parsed parse(int argc, const char* const argv[])
{
    Parsed p;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (!arg)
            break;
        const std::string option(arg);
        std::string* target = nullptr;
        if (option == "-ORBdefaultInitRef")
            target = &p.initReference;
        else if (option == "-executionName")
            target = &p.executionName;
        else if (option == "-sessionName")
            target = &p.sessionName;
        else if (option != "-joinTimeout")
            continue;
        if (i + 1 >= argc || !argv[i + 1])
            throw Exception("Configuration: option " + option + " needs a value");
        if (target)
            *target = argv[i + 1];
        else
            p.joinTimeoutMs = parseTimeout(argv[i + 1]);
        p.consumed.push_back(i);
        p.consumed.push_back(i + 1);
        ++i;
    }
    return p;
}

}  // namespace

Configuration::Configuration(int& argc, const char* const argv[], const std::string& applicationName,
                             const std::string& transportConfiguration)
    : applicationName_(applicationName), transportConfiguration_(transportConfiguration)
{
    Parsed p = parse(argc, argv);
    initReference_ = std::move(p.initReference);
    executionName_ = std::move(p.executionName);
    sessionName_ = std::move(p.sessionName);
    joinTimeoutMs_ = p.joinTimeoutMs;
}

Configuration::Configuration(int& argc, char* argv[], const std::string& applicationName,
                             const std::string& transportConfiguration)
    : Configuration(argc, const_cast<const char* const*>(argv), applicationName, transportConfiguration)
{
    // Remove what was understood, keeping the order of the rest, as an ORB does with its options.
    const Parsed p = parse(argc, argv);
    int out = 0;
    std::size_t next = 0;
    for (int i = 0; i < argc; ++i) {
        if (next < p.consumed.size() && p.consumed[next] == i) {
            ++next;
            continue;
        }
        argv[out++] = argv[i];
    }
    if (out < argc)
        argv[out] = nullptr;
    argc = out;
}

}  // namespace ORVA::Middleware
