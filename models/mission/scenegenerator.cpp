// HALC::SceneGenerator: the classes' out-of-line members and the binding between the C sample and the C++ state.

#include "models/mission/scenegenerator.h"

#include "SceneGenerator.h"
#include "models/objectclass_p.h"

namespace HALC::SceneGenerator {

ORVA_OBJECT_CLASS_DEFINITIONS(HALC, SceneGenerator, HALC_SCENEGENERATOR_ATTRIBUTES);

}  // namespace HALC::SceneGenerator
