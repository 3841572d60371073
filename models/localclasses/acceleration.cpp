#include "models/localclasses/acceleration.h"

#include "models/localclasses/linkforcing.h"
#include "models/localclasses/threevalues.h"

std::int32_t noConversion_Acceleration_forceThisLibraryToBeLinked = 0;

namespace ORVA::Acceleration {

ORVA_LOCALCLASS_THREE_VALUES(Acceleration, float, x, y, z);

}  // namespace ORVA::Acceleration
