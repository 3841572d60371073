#pragma once
// An acceleration: metres per second squared along the axes of the frame that produced it.

#include "models/localclasses/threevalues.h"

namespace ORVA::Acceleration {

ORVA_LOCALCLASS_THREE_VALUES_DECLARATION(float, x, y, z);

}  // namespace ORVA::Acceleration
