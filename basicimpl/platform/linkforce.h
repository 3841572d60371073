#pragma once
// A program that must load libORVA-Platform-v3.1-basic-v1 although it calls nothing in it
// copies this integer (value 0) into a variable of its own at static initialisation.

#include "basicimpl/platform/export.h"

#include <cstdint>

extern "C" ORVA_PLATFORM_BASIC_EXPORT std::int32_t basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked;
