#pragma once
// A position: metres, in the frame that produced it (geocentric WGS-84 inside a TSPI).

#include "models/localclasses/threevalues.h"

namespace ORVA::Position {

ORVA_LOCALCLASS_THREE_VALUES_DECLARATION(double, x, y, z);

}  // namespace ORVA::Position
