#pragma once
// Object class HALC::ForceFeedback: a force-feedback effect: magnitude, period and whether it is active.

#include "models/mission/export.h"
#include "models/objectclass.h"

// X(type, name, dump form), in model order (models/objectclass.h).
#define HALC_FORCEFEEDBACK_ATTRIBUTES(X) \
    X(double, magnitude, number)         \
    X(double, period, number)            \
    X(bool, isActive, flag)

namespace HALC::ForceFeedback {

namespace Middleware = ORVA::Middleware;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC, ForceFeedback, HALC_FORCEFEEDBACK_ATTRIBUTES);

}  // namespace HALC::ForceFeedback
