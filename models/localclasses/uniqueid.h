#pragma once
// Identity of a range entity: site, application, object.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

#include <cstdint>

namespace ORVA::UniqueID {

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual std::uint16_t get_siteID() const = 0;
    virtual std::uint16_t get_applicationID() const = 0;
    virtual std::uint32_t get_objectID() const = 0;

    static Middleware::SmartPtr<Interface> create(std::uint16_t siteID = 0, std::uint16_t applicationID = 0,
                                                  std::uint32_t objectID = 0);
};

}  // namespace ORVA::UniqueID
