#pragma once
// Object class HALC::SceneGenerator: a scene generator: its identity, network end point and terrain description.

#include "models/localclasses/uniqueid.h"
#include "models/mission/export.h"
#include "models/objectclass.h"

// X(type, name, dump form), in model order (models/objectclass.h).
#define HALC_SCENEGENERATOR_ATTRIBUTES(X)                       \
    X(SmartPtr<UniqueID::Interface>, sceneGeneratorID, members) \
    X(std::string, endPoint, text)                              \
    X(std::string, terrainDescription, text)

namespace HALC::SceneGenerator {

namespace Middleware = ORVA::Middleware;
namespace UniqueID = ORVA::UniqueID;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC, SceneGenerator, HALC_SCENEGENERATOR_ATTRIBUTES);

}  // namespace HALC::SceneGenerator
