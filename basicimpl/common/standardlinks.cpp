// Copies of the nine standard local-class libraries' link-forcing integers, made at static
// initialisation: the references make the dynamic linker load those libraries with this one.
// Compiled into each basic-implementation library; the copies are private to it.

#include "models/localclasses/linkforcing.h"

namespace {

// Volatile, so that the optimiser keeps the copies and with them the references.
volatile std::int32_t standardLinks[] = {
    fullConversion_Time_forceThisLibraryToBeLinked,
    positionConversion_TSPI_forceThisLibraryToBeLinked,
    noConversion_Acceleration_forceThisLibraryToBeLinked,
    utilities_SRF_forceThisLibraryToBeLinked,
    noConversion_Orientation_forceThisLibraryToBeLinked,
    fullConversion_Position_forceThisLibraryToBeLinked,
    noConversion_Velocity_forceThisLibraryToBeLinked,
    userDefined_UniqueID_forceThisLibraryToBeLinked,
    csvReader_PlatformType_forceThisLibraryToBeLinked,
};

}  // namespace
