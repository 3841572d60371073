#pragma once
// An acceleration: metres per second squared along the axes of the frame that produced it.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

namespace ORVA::Acceleration {

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual float get_x() const = 0;
    virtual float get_y() const = 0;
    virtual float get_z() const = 0;

    static Middleware::SmartPtr<Interface> create(float x, float y, float z);
};

}  // namespace ORVA::Acceleration
