#pragma once
// Time-space-position information: position and velocity geocentric WGS-84 (metres, m/s),
// orientation as Euler angles psi, theta, phi (z-y-x, radians) relative to the geocentric axes.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"
#include "models/localclasses/orientation.h"
#include "models/localclasses/position.h"
#include "models/localclasses/spatialreferenceframe.h"
#include "models/localclasses/velocity.h"

namespace ORVA::TSPI {

using SpatialReferenceFrame::Vector3;

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();

    virtual const Vector3& geocentricPosition() const = 0;
    virtual const Vector3& geocentricOrientation() const = 0;
    virtual const Vector3& geocentricVelocity() const = 0;

    // The TSPI expressed in `frame`. Raises InvalidAccess for an empty frame handle.
    Middleware::SmartPtr<Position::Interface> getPositionIn(
        const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const;
    Middleware::SmartPtr<Orientation::Interface> getOrientationIn(
        const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const;
    Middleware::SmartPtr<Velocity::Interface> getVelocityIn(
        const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const;

    // From geocentric values.
    static Middleware::SmartPtr<Interface> create(const Vector3& position = {}, const Vector3& orientation = {},
                                                  const Vector3& velocity = {});
    // From values in `frame` (as getPositionIn etc. give them).
    static Middleware::SmartPtr<Interface> createIn(
        const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame, const Vector3& position,
        const Vector3& orientation, const Vector3& velocity);
};

}  // namespace ORVA::TSPI
