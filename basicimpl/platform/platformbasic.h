#pragma once
// libORVA-Platform-v3.1-basic-v1: the basic-implementation families of ORVA::Platform and
// ORVA::PlatformExtension, and the library's link-forcing integer.

#include "basicimpl/platform/linkforce.h"
#include "basicimpl/platform/platformbasicimpl.h"
#include "basicimpl/platform/platformextensionbasicimpl.h"
