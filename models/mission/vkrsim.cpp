// HALC::VKRsim: the classes' out-of-line members and the binding between the C sample and the C++ state.

#include "models/mission/vkrsim.h"

#include "VKRsim.h"
#include "models/objectclass_p.h"

namespace HALC::VKRsim {

ORVA_OBJECT_CLASS_DEFINITIONS(HALC, VKRsim, HALC_VKRSIM_ATTRIBUTES);

}  // namespace HALC::VKRsim
