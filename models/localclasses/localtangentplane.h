#pragma once
// Local tangent plane frame: east, north, up axes at an origin given by latitude and longitude
// (degrees, WGS-84) and a height offset (metres above the ellipsoid), turned by an azimuth
// (degrees, the frame's y axis clockwise from north) and shifted by false origins (metres):
//   x = e cos a - n sin a + x0,   y = e sin a + n cos a + y0,   z = u.
// Orientations become z-y-x Euler angles relative to the frame's x, y, z axes.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"
#include "models/localclasses/spatialreferenceframe.h"

namespace ORVA::LocalTangentPlaneENUspatialReferenceFrame {

class ORVA_LOCALCLASSES_EXPORT Interface : public SpatialReferenceFrame::Interface {
public:
    ~Interface() override;

    // A frame at latitude 0, longitude 0, height 0, azimuth 0, no false origins.
    static Middleware::SmartPtr<Interface> create();

    virtual void set_latitude(double degrees) = 0;  // raises outside -90 .. 90
    virtual void set_longitude(double degrees) = 0;
    virtual void set_azimuth(double degrees) = 0;
    virtual void set_XFalseOrigin(double metres) = 0;
    virtual void set_YFalseOrigin(double metres) = 0;
    virtual void set_heightOffset(double metres) = 0;

    virtual double get_latitude() const = 0;
    virtual double get_longitude() const = 0;
    virtual double get_azimuth() const = 0;
    virtual double get_XFalseOrigin() const = 0;
    virtual double get_YFalseOrigin() const = 0;
    virtual double get_heightOffset() const = 0;
};

}  // namespace ORVA::LocalTangentPlaneENUspatialReferenceFrame
