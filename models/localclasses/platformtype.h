#pragma once
// Kind of platform: an index into a platform type database and that database's version.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ORVA::PlatformType {

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual std::uint32_t get_typeIndex() const = 0;
    virtual std::uint32_t get_databaseVersion() const = 0;

    static Middleware::SmartPtr<Interface> create(std::uint32_t typeIndex = 0, std::uint32_t databaseVersion = 0);
};

// One row of a platform type database in comma-separated form: "typeIndex,databaseVersion,name".
struct ORVA_LOCALCLASSES_EXPORT DatabaseEntry {
    std::uint32_t typeIndex = 0;
    std::uint32_t databaseVersion = 0;
    std::string name;
};

// Reads a database: one entry per non-empty line, lines starting with '#' ignored. Raises
// ORVA::Middleware::Exception naming the line for a malformed one.
ORVA_LOCALCLASSES_EXPORT std::vector<DatabaseEntry> readDatabaseCsv(const std::string& text);

}  // namespace ORVA::PlatformType
