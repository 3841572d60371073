// HALC::ForceFeedback: the classes' out-of-line members and the binding between the C sample and the C++ state.

#include "models/mission/forcefeedback.h"

#include "ForceFeedback.h"
#include "models/objectclass_p.h"

namespace HALC::ForceFeedback {

ORVA_OBJECT_CLASS_DEFINITIONS(HALC, ForceFeedback, HALC_FORCEFEEDBACK_ATTRIBUTES);

}  // namespace HALC::ForceFeedback
