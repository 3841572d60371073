#include "models/localclasses/position.h"

#include "models/localclasses/linkforcing.h"

std::int32_t fullConversion_Position_forceThisLibraryToBeLinked = 0;

namespace ORVA::Position {

ORVA_LOCALCLASS_THREE_VALUES_DEFINITION(Position, double, x, y, z);

}  // namespace ORVA::Position
