// ORVA::PlatformExtension: the classes' out-of-line members and the binding between the C sample and the C++ state.

#include "models/platform/platformextension.h"

#include "PlatformExtension.h"
#include "models/objectclass_p.h"

namespace ORVA::PlatformExtension {

ORVA_OBJECT_CLASS_DEFINITIONS(ORVA, PlatformExtension, ORVA_PLATFORMEXTENSION_ATTRIBUTES);

}  // namespace ORVA::PlatformExtension
