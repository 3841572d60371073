#include "middleware/dds/entity_p.h"

#include "middleware/exceptions.h"

namespace ORVA::Middleware::dds {

dds_return_t check(dds_return_t rc, const char* call)
{
    if (rc < 0)
        throw Exception(std::string(call) + ": " + dds_strretcode(rc));
    return rc;
}

}  // namespace ORVA::Middleware::dds
