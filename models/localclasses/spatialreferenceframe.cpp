#include "models/localclasses/spatialreferenceframe.h"
#include "models/localclasses/linkforcing.h"

#include "middleware/exceptions.h"

#include <string>

std::int32_t utilities_SRF_forceThisLibraryToBeLinked = 0;

namespace ORVA::SpatialReferenceFrame {

Interface::~Interface() = default;

void Interface::set_ellipsoid(std::uint32_t ellipsoid)
{
    if (ellipsoid != 0)
        throw Middleware::Exception("SpatialReferenceFrame: unknown ellipsoid " + std::to_string(ellipsoid) +
                                    " (0 = WGS-84)");
    ellipsoid_ = ellipsoid;
}

}  // namespace ORVA::SpatialReferenceFrame
