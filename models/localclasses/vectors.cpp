// Position, orientation and velocity values.

#include "models/localclasses/orientation.h"
#include "models/localclasses/position.h"
#include "models/localclasses/velocity.h"

namespace ORVA {

namespace {

class PositionValue final : public Position::Interface {
public:
    PositionValue(double x, double y, double z) noexcept : x_(x), y_(y), z_(z) {}
    double get_x() const override { return x_; }
    double get_y() const override { return y_; }
    double get_z() const override { return z_; }

private:
    double x_, y_, z_;
};

class OrientationValue final : public Orientation::Interface {
public:
    OrientationValue(float psi, float theta, float phi) noexcept : psi_(psi), theta_(theta), phi_(phi) {}
    float get_psi() const override { return psi_; }
    float get_theta() const override { return theta_; }
    float get_phi() const override { return phi_; }

private:
    float psi_, theta_, phi_;
};

class VelocityValue final : public Velocity::Interface {
public:
    VelocityValue(float x, float y, float z) noexcept : x_(x), y_(y), z_(z) {}
    float get_x() const override { return x_; }
    float get_y() const override { return y_; }
    float get_z() const override { return z_; }

private:
    float x_, y_, z_;
};

}  // namespace

Position::Interface::~Interface() = default;
Middleware::SmartPtr<Position::Interface> Position::Interface::create(double x, double y, double z)
{
    return Middleware::SmartPtr<Interface>(new PositionValue(x, y, z));
}

Orientation::Interface::~Interface() = default;
Middleware::SmartPtr<Orientation::Interface> Orientation::Interface::create(float psi, float theta, float phi)
{
    return Middleware::SmartPtr<Interface>(new OrientationValue(psi, theta, phi));
}

Velocity::Interface::~Interface() = default;
Middleware::SmartPtr<Velocity::Interface> Velocity::Interface::create(float x, float y, float z)
{
    return Middleware::SmartPtr<Interface>(new VelocityValue(x, y, z));
}

}  // namespace ORVA
