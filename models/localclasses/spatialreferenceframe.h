#pragma once
// Base of the spatial reference frames in which a TSPI can be expressed. Positions and velocities
// come in geocentric WGS-84 (metres, m/s); orientations as z-y-x Euler angles (radians) relative
// to the geocentric axes.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

#include <array>
#include <cstdint>

namespace ORVA::SpatialReferenceFrame {

using Vector3 = std::array<double, 3>;

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();

    // Reference ellipsoid of the frame's geodesy; 0 = WGS-84, the only one known. Other values
    // raise ORVA::Middleware::Exception.
    void set_ellipsoid(std::uint32_t ellipsoid);
    std::uint32_t get_ellipsoid() const noexcept { return ellipsoid_; }

    // Geocentric to frame and back. Positions in metres, velocities in m/s, angles in radians
    // (psi, theta, phi, z-y-x).
    virtual Vector3 positionFromGeocentric(const Vector3& geocentric) const = 0;
    virtual Vector3 positionToGeocentric(const Vector3& local) const = 0;
    virtual Vector3 orientationFromGeocentric(const Vector3& geocentricEuler) const = 0;
    virtual Vector3 orientationToGeocentric(const Vector3& localEuler) const = 0;
    virtual Vector3 velocityFromGeocentric(const Vector3& geocentric) const = 0;
    virtual Vector3 velocityToGeocentric(const Vector3& local) const = 0;

private:
    std::uint32_t ellipsoid_ = 0;
};

}  // namespace ORVA::SpatialReferenceFrame
