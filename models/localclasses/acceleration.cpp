#include "models/localclasses/acceleration.h"

#include "models/localclasses/linkforcing.h"

std::int32_t noConversion_Acceleration_forceThisLibraryToBeLinked = 0;

namespace ORVA::Acceleration {

ORVA_LOCALCLASS_THREE_VALUES_DEFINITION(Acceleration, float, x, y, z);

}  // namespace ORVA::Acceleration
