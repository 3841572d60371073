#include "models/localclasses/localtangentplane.h"

#include "middleware/exceptions.h"
#include "models/localclasses/rotation.h"

#include <GeographicLib/Geocentric.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace ORVA::LocalTangentPlaneENUspatialReferenceFrame {

namespace {

using LocalClasses::Matrix3;
using SpatialReferenceFrame::Vector3;

constexpr double kDegree = 3.14159265358979323846 / 180.0;

class Frame final : public Interface {
public:
    Frame() { update(); }

    void set_latitude(double degrees) override
    {
        if (!(degrees >= -90.0 && degrees <= 90.0))
            throw Middleware::Exception("LocalTangentPlane: latitude " + std::to_string(degrees) +
                                        " outside -90 .. 90 degrees");
        latitude_ = degrees;
        update();
    }
    void set_longitude(double degrees) override { longitude_ = finite(degrees, "longitude"); update(); }
    void set_azimuth(double degrees) override { azimuth_ = finite(degrees, "azimuth"); update(); }
    void set_XFalseOrigin(double metres) override { x0_ = finite(metres, "X false origin"); }
    void set_YFalseOrigin(double metres) override { y0_ = finite(metres, "Y false origin"); }
    void set_heightOffset(double metres) override { height_ = finite(metres, "height offset"); update(); }

    double get_latitude() const override { return latitude_; }
    double get_longitude() const override { return longitude_; }
    double get_azimuth() const override { return azimuth_; }
    double get_XFalseOrigin() const override { return x0_; }
    double get_YFalseOrigin() const override { return y0_; }
    double get_heightOffset() const override { return height_; }

    Vector3 positionFromGeocentric(const Vector3& p) const override
    {
        const Vector3 local = LocalClasses::apply(toFrame_, {p[0] - origin_[0], p[1] - origin_[1], p[2] - origin_[2]});
        return {local[0] + x0_, local[1] + y0_, local[2]};
    }
    Vector3 positionToGeocentric(const Vector3& l) const override
    {
        const Vector3 d = LocalClasses::apply(LocalClasses::transpose(toFrame_), {l[0] - x0_, l[1] - y0_, l[2]});
        return {origin_[0] + d[0], origin_[1] + d[1], origin_[2] + d[2]};
    }
    Vector3 orientationFromGeocentric(const Vector3& e) const override
    {
        return LocalClasses::toEuler(LocalClasses::multiply(toFrame_, LocalClasses::fromEuler(e)));
    }
    Vector3 orientationToGeocentric(const Vector3& e) const override
    {
        return LocalClasses::toEuler(
            LocalClasses::multiply(LocalClasses::transpose(toFrame_), LocalClasses::fromEuler(e)));
    }
    Vector3 velocityFromGeocentric(const Vector3& v) const override { return LocalClasses::apply(toFrame_, v); }
    Vector3 velocityToGeocentric(const Vector3& v) const override
    {
        return LocalClasses::apply(LocalClasses::transpose(toFrame_), v);
    }

private:
    static double finite(double value, const char* what)
    {
        if (!std::isfinite(value))
            throw Middleware::Exception(std::string("LocalTangentPlane: ") + what + " is not a finite number");
        return value;
    }

    // Origin in geocentric coordinates and the rotation from geocentric to frame axes. GeographicLib
    // gives the east, north, up unit vectors at the origin as the columns of M.
    void update()
    {
        std::vector<double> m(9);
        GeographicLib::Geocentric::WGS84().Forward(latitude_, longitude_, height_, origin_[0], origin_[1],
                                                    origin_[2], m);
        const Vector3 east{m[0], m[3], m[6]}, north{m[1], m[4], m[7]}, up{m[2], m[5], m[8]};
        const double ca = std::cos(azimuth_ * kDegree), sa = std::sin(azimuth_ * kDegree);
        for (std::size_t i = 0; i < 3; ++i) {
            toFrame_[0][i] = ca * east[i] - sa * north[i];
            toFrame_[1][i] = sa * east[i] + ca * north[i];
            toFrame_[2][i] = up[i];
        }
    }

    double latitude_ = 0.0, longitude_ = 0.0, azimuth_ = 0.0;  // degrees
    double x0_ = 0.0, y0_ = 0.0, height_ = 0.0;                // metres
    Vector3 origin_{};
    Matrix3 toFrame_{};  // rows: the frame's x, y, z axes in geocentric coordinates
};

}  // namespace

Interface::~Interface() = default;

Middleware::SmartPtr<Interface> Interface::create()
{
    return Middleware::SmartPtr<Interface>(new Frame());
}

}  // namespace ORVA::LocalTangentPlaneENUspatialReferenceFrame
