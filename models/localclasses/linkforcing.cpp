#include "models/localclasses/linkforcing.h"

std::int32_t fullConversion_Time_forceThisLibraryToBeLinked = 0;
std::int32_t positionConversion_TSPI_forceThisLibraryToBeLinked = 0;
std::int32_t noConversion_Acceleration_forceThisLibraryToBeLinked = 0;
std::int32_t utilities_SRF_forceThisLibraryToBeLinked = 0;
std::int32_t noConversion_Orientation_forceThisLibraryToBeLinked = 0;
std::int32_t fullConversion_Position_forceThisLibraryToBeLinked = 0;
std::int32_t noConversion_Velocity_forceThisLibraryToBeLinked = 0;
std::int32_t userDefined_UniqueID_forceThisLibraryToBeLinked = 0;
std::int32_t csvReader_PlatformType_forceThisLibraryToBeLinked = 0;
