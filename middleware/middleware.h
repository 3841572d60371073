#pragma once
// Everything a range application needs of the middleware.

#include "middleware/callback.h"
#include "middleware/configuration.h"
#include "middleware/exceptions.h"
#include "middleware/initreference.h"
#include "middleware/managedptr.h"
#include "middleware/properties.h"
#include "middleware/runtime.h"
#include "middleware/sdo/proxy.h"
#include "middleware/sdo/publicationinfo.h"
#include "middleware/sdo/servant.h"
#include "middleware/sdo/servantfactory.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/sdoid.h"
#include "middleware/smartptr.h"
