#pragma once
// An orientation: Euler angles psi, theta, phi in radians, z-y-x order, relative to the axes of
// the frame that produced it.

#include "models/localclasses/threevalues.h"

namespace ORVA::Orientation {

ORVA_LOCALCLASS_THREE_VALUES_DECLARATION(float, psi, theta, phi);

}  // namespace ORVA::Orientation
