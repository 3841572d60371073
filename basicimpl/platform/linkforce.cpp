#include "basicimpl/platform/linkforce.h"

extern "C" {
std::int32_t basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked = 0;
}
