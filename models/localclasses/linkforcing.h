#pragma once
// Integers whose copying at static initialisation makes a program load the local-class library
// (each stands for one local-class model and implementation variant). All are 0.

#include "models/localclasses/export.h"

#include <cstdint>

extern "C" {
ORVA_LOCALCLASSES_EXPORT extern std::int32_t fullConversion_Time_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t positionConversion_TSPI_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t noConversion_Acceleration_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t utilities_SRF_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t noConversion_Orientation_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t fullConversion_Position_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t noConversion_Velocity_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t userDefined_UniqueID_forceThisLibraryToBeLinked;
ORVA_LOCALCLASSES_EXPORT extern std::int32_t csvReader_PlatformType_forceThisLibraryToBeLinked;
}
