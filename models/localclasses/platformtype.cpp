#include "models/localclasses/platformtype.h"
#include "models/localclasses/linkforcing.h"

#include "middleware/exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

std::int32_t csvReader_PlatformType_forceThisLibraryToBeLinked = 0;

namespace ORVA::PlatformType {

namespace {

class Value final : public Interface {
public:
    Value(std::uint32_t typeIndex, std::uint32_t databaseVersion) noexcept
        : typeIndex_(typeIndex), databaseVersion_(databaseVersion) {}
    std::uint32_t get_typeIndex() const override { return typeIndex_; }
    std::uint32_t get_databaseVersion() const override { return databaseVersion_; }

private:
    std::uint32_t typeIndex_;
    std::uint32_t databaseVersion_;
};

bool toUint32(const std::string& text, std::uint32_t& out)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || value > 0xffffffffull)
        return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

Interface::~Interface() = default;

Middleware::SmartPtr<Interface> Interface::create(std::uint32_t typeIndex, std::uint32_t databaseVersion)
{
    return Middleware::SmartPtr<Interface>(new Value(typeIndex, databaseVersion));
}

std::vector<DatabaseEntry> readDatabaseCsv(const std::string& text)
{
    std::vector<DatabaseEntry> entries;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto first = line.find(',');
        const auto second = first == std::string::npos ? first : line.find(',', first + 1);
        DatabaseEntry entry;
        if (second == std::string::npos || !toUint32(trimmed(line.substr(0, first)), entry.typeIndex) ||
            !toUint32(trimmed(line.substr(first + 1, second - first - 1)), entry.databaseVersion))
            throw Middleware::Exception("platform type database, line " + std::to_string(number) +
                                        ": expected typeIndex,databaseVersion,name");
        entry.name = trimmed(line.substr(second + 1));
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace ORVA::PlatformType
