#pragma once
// Object class ORVA::PlatformExtension: a typed extension attached to a platform.

#include "models/localclasses/time.h"
#include "models/localclasses/uniqueid.h"
#include "models/objectclass.h"
#include "models/platform/export.h"

// X(type, name, dump form), in model order (models/objectclass.h).
#define ORVA_PLATFORMEXTENSION_ATTRIBUTES(X)              \
    X(SmartPtr<UniqueID::Interface>, platformID, members) \
    X(SmartPtr<Time::Interface>, timeStamp, label)        \
    X(std::uint32_t, extensionTypeID, number)

namespace ORVA::PlatformExtension {

using Middleware::ManagedPtr;
using Middleware::SmartPtr;

ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA, PlatformExtension, ORVA_PLATFORMEXTENSION_ATTRIBUTES);

}  // namespace ORVA::PlatformExtension
