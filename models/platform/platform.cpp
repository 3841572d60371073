// ORVA::Platform: the classes' out-of-line members and the binding between the C sample and the C++ state.

#include "models/platform/platform.h"

#include "Platform.h"
#include "models/objectclass_p.h"

namespace ORVA::Platform {

ORVA_OBJECT_CLASS_DEFINITIONS(ORVA, Platform, ORVA_PLATFORM_ATTRIBUTES);

}  // namespace ORVA::Platform
