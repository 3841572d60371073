#include "models/localclasses/velocity.h"

#include "models/localclasses/linkforcing.h"

std::int32_t noConversion_Velocity_forceThisLibraryToBeLinked = 0;

namespace ORVA::Velocity {

ORVA_LOCALCLASS_THREE_VALUES_DEFINITION(Velocity, float, x, y, z);

}  // namespace ORVA::Velocity
