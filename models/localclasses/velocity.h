#pragma once
// A velocity: metres per second along the axes of the frame that produced it.

#include "models/localclasses/threevalues.h"

namespace ORVA::Velocity {

ORVA_LOCALCLASS_THREE_VALUES_DECLARATION(float, x, y, z);

}  // namespace ORVA::Velocity
