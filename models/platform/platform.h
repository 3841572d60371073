#pragma once
// Object class ORVA::Platform: one vehicle or other platform on the range: identity, call sign, type, affiliation, damage and TSPI.

#include "models/localclasses/affiliation.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/tspi.h"
#include "models/localclasses/time.h"
#include "models/localclasses/uniqueid.h"
#include "models/objectclass.h"
#include "models/platform/export.h"

// X(type, name, dump form), in model order (models/objectclass.h).
#define ORVA_PLATFORM_ATTRIBUTES(X)                             \
    X(SmartPtr<UniqueID::Interface>, platformID, members)       \
    X(SmartPtr<Time::Interface>, timeStamp, label)              \
    X(std::string, callSign, text)                              \
    X(std::string, designator, text)                            \
    X(SmartPtr<PlatformType::Interface>, platformType, members) \
    X(Affiliation::Enum, affiliation, enumeration)              \
    X(std::int32_t, damageState, number)                        \
    X(float, damagePercent, number)                             \
    X(SmartPtr<TSPI::Interface>, tspi, label)

namespace ORVA::Platform {

using Middleware::ManagedPtr;
using Middleware::SmartPtr;

ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA, Platform, ORVA_PLATFORM_ATTRIBUTES);

}  // namespace ORVA::Platform
