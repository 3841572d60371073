#include "configfuzzcheck.h"

#include "rangelink/configurationfile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

namespace {

[[noreturn]] void broken(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "config fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// The file as the format describes it: lines split at "\n", one "\r" before it dropped, key up
// to the first "=", the last line of a key winning.
std::map<std::string, std::string> model(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
        start = end + 1;
    }
    return values;
}

void sameText(const char* key, const std::string& got, const std::map<std::string, std::string>& expected)
{
    const auto it = expected.find(key);
    const std::string want = it == expected.end() ? std::string() : it->second;
    if (got != want)
        broken(key, "read \"" + got + "\", expected \"" + want + "\"");
}

void sameNumber(const char* key, double got, const std::map<std::string, std::string>& expected)
{
    const auto it = expected.find(key);
    // C's own strtod, in the C locale the fuzzer and the tests run in: numbers read as atof does.
    const double want = it == expected.end() ? 0.0 : std::strtod(it->second.c_str(), nullptr);
    const bool same = (std::isnan(got) && std::isnan(want)) || std::memcmp(&got, &want, sizeof got) == 0;
    if (!same)
        broken(key, "read " + std::to_string(got) + ", expected " + std::to_string(want));
}

}  // namespace

void checkConfigurationInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    ConfigurationFile file;
    file.setFileName("config.txt");
    file.readLines(in);

    const std::map<std::string, std::string> expected = model(text);
    sameText("ORVA.ORBdefaultInitRef", file.getInitRef(), expected);
    sameText("ORVA.executionName", file.getExecutionName(), expected);
    sameText("ORVA.sessionName", file.getSessionName(), expected);
    sameText("ORVA.ORBlistenEndpoints", file.getListenEndpoints(), expected);
    sameNumber("ORVA.LTP_latitude", file.getLtpLatitude(), expected);
    sameNumber("ORVA.LTP_longitude", file.getLtpLongitude(), expected);
    sameNumber("ORVA.LTP_azimuth", file.getLtpAzimuth(), expected);
    sameNumber("ORVA.LTP_XFalseOrigin", file.getLtpXFalseOrigin(), expected);
    sameNumber("ORVA.LTP_YFalseOrigin", file.getLtpYFalseOrigin(), expected);
    sameNumber("ORVA.LTP_HeightOffset", file.getLtpHeightOffset(), expected);
}
