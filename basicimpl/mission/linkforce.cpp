#include "basicimpl/mission/linkforce.h"

extern "C" {
std::int32_t basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked = 0;
}
