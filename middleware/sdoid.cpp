#include "middleware/sdoid.h"

#include <cstdio>
#include <ostream>

namespace ORVA::Middleware {

std::ostream& operator<<(std::ostream& out, const SDOid& id)
{
    // Formatted into a buffer so the caller's number flags (hex, showpos) neither apply nor change;
    // width and fill apply to the whole text, as for any string.
    char text[64];
    std::snprintf(text, sizeof text, "SDO:%016llx:%llu", static_cast<unsigned long long>(id.origin()),
                  static_cast<unsigned long long>(id.serial()));
    return out << text;
}

}  // namespace ORVA::Middleware
