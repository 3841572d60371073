#pragma once
// An orientation: Euler angles psi, theta, phi in radians, z-y-x order, relative to the axes of
// the frame that produced it.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

namespace ORVA::Orientation {

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual float get_psi() const = 0;
    virtual float get_theta() const = 0;
    virtual float get_phi() const = 0;

    static Middleware::SmartPtr<Interface> create(float psi, float theta, float phi);
};

}  // namespace ORVA::Orientation
