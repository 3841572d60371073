#include "models/localclasses/tspi.h"
#include "models/localclasses/linkforcing.h"

std::int32_t positionConversion_TSPI_forceThisLibraryToBeLinked = 0;

namespace ORVA::TSPI {

namespace {

class Value final : public Interface {
public:
    Value(const Vector3& position, const Vector3& orientation, const Vector3& velocity) noexcept
        : position_(position), orientation_(orientation), velocity_(velocity) {}
    const Vector3& geocentricPosition() const override { return position_; }
    const Vector3& geocentricOrientation() const override { return orientation_; }
    const Vector3& geocentricVelocity() const override { return velocity_; }

private:
    Vector3 position_, orientation_, velocity_;
};

}  // namespace

Interface::~Interface() = default;

Middleware::SmartPtr<Position::Interface> Interface::getPositionIn(
    const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const
{
    const Vector3 p = frame->positionFromGeocentric(geocentricPosition());
    return Position::Interface::create(p[0], p[1], p[2]);
}

Middleware::SmartPtr<Orientation::Interface> Interface::getOrientationIn(
    const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const
{
    const Vector3 o = frame->orientationFromGeocentric(geocentricOrientation());
    return Orientation::Interface::create(static_cast<float>(o[0]), static_cast<float>(o[1]), static_cast<float>(o[2]));
}

Middleware::SmartPtr<Velocity::Interface> Interface::getVelocityIn(
    const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame) const
{
    const Vector3 v = frame->velocityFromGeocentric(geocentricVelocity());
    return Velocity::Interface::create(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]));
}

Middleware::SmartPtr<Interface> Interface::create(const Vector3& position, const Vector3& orientation,
                                                  const Vector3& velocity)
{
    return Middleware::SmartPtr<Interface>(new Value(position, orientation, velocity));
}

Middleware::SmartPtr<Interface> Interface::createIn(const Middleware::SmartPtr<SpatialReferenceFrame::Interface>& frame,
                                                    const Vector3& position, const Vector3& orientation,
                                                    const Vector3& velocity)
{
    return create(frame->positionToGeocentric(position), frame->orientationToGeocentric(orientation),
                  frame->velocityToGeocentric(velocity));
}

}  // namespace ORVA::TSPI
