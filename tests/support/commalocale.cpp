#include "support/commalocale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace vkrsim::test {

namespace {

bool numericLocaleUsesComma(const char* name)
{
    return std::setlocale(LC_NUMERIC, name) != nullptr && std::localeconv()->decimal_point[0] == ',';
}

}  // namespace

CommaNumericLocale::CommaNumericLocale()
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    previousLocale_ = previous ? previous : "C";
    if (const char* locpath = std::getenv("LOCPATH")) {
        hadLocpath_ = true;
        previousLocpath_ = locpath;
    }
    for (const char* installed : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (numericLocaleUsesComma(installed))
            return;

    char pattern[] = "/tmp/vkrsim-locale-XXXXXX";
    if (!mkdtemp(pattern)) {
        whyNot_ = "no comma locale installed, and no temporary folder to make one in";
        return;
    }
    directory_ = pattern;
    // ISO-8859-1 compiles in about a second; UTF-8 takes several.
    const std::string command = "localedef -c -i de_DE -f ISO-8859-1 '" + directory_ + "/de_DE' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    setenv("LOCPATH", directory_.c_str(), 1);  // glibc reads it at every setlocale
    if (status != 0 || !numericLocaleUsesComma("de_DE"))
        whyNot_ = "no comma locale installed and localedef could not make de_DE (the Debian package "
                  "locales provides its source; scripts/setup installs it)";
}

CommaNumericLocale::~CommaNumericLocale()
{
    std::setlocale(LC_NUMERIC, previousLocale_.c_str());
    if (hadLocpath_)
        setenv("LOCPATH", previousLocpath_.c_str(), 1);
    else
        unsetenv("LOCPATH");
    if (!directory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
}

}  // namespace vkrsim::test
