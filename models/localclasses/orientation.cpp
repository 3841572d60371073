#include "models/localclasses/orientation.h"

#include "models/localclasses/linkforcing.h"

std::int32_t noConversion_Orientation_forceThisLibraryToBeLinked = 0;

namespace ORVA::Orientation {

ORVA_LOCALCLASS_THREE_VALUES_DEFINITION(Orientation, float, psi, theta, phi);

}  // namespace ORVA::Orientation
