#pragma once
// Object class HALC::VKRsim: where a sight looks from and to, its attitude, zoom, field of view and terrain.

#include "models/localclasses/uniqueid.h"
#include "models/mission/export.h"
#include "models/objectclass.h"

// X(type, name, dump form), in model order (models/objectclass.h).
#define HALC_VKRSIM_ATTRIBUTES(X)                       \
    X(double, fieldOfView, number)                      \
    X(double, zoomFactor, number)                       \
    X(std::int16_t, terrainID, number)                  \
    X(double, viewFromX, number)                        \
    X(double, viewFromY, number)                        \
    X(double, viewFromZ, number)                        \
    X(double, viewToX, number)                          \
    X(double, viewToY, number)                          \
    X(double, viewToZ, number)                          \
    X(double, viewPsi, number)                          \
    X(double, viewTheta, number)                        \
    X(double, viewPhi, number)                          \
    X(SmartPtr<UniqueID::Interface>, VKRsimID, members)

namespace HALC::VKRsim {

namespace Middleware = ORVA::Middleware;
namespace UniqueID = ORVA::UniqueID;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC, VKRsim, HALC_VKRSIM_ATTRIBUTES);

}  // namespace HALC::VKRsim
