#pragma once
// A program that must load libHALC-VKRsim-v4-basic-v1 although it calls nothing in it copies
// this integer (value 0) into a variable of its own at static initialisation.

#include "basicimpl/mission/export.h"

#include <cstdint>

extern "C" HALC_VKRSIM_BASIC_EXPORT std::int32_t basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked;
