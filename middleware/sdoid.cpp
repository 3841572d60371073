#include "middleware/sdoid.h"

#include <cstdio>
#include <ostream>

namespace ORVA::Middleware {

std::ostream& operator<<(std::ostream& out, const SDOid& id)
{
    // Formatted into a buffer so the caller's stream flags (hex, width, fill) neither apply nor change.
    char text[64];
    std::snprintf(text, sizeof text, "SDO:%016llx:%llu", static_cast<unsigned long long>(id.origin()),
                  static_cast<unsigned long long>(id.serial()));
    return out.write(text, static_cast<std::streamsize>(std::char_traits<char>::length(text)));
}

}  // namespace ORVA::Middleware
