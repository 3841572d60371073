#include "models/localclasses/velocity.h"

#include "models/localclasses/linkforcing.h"

std::int32_t noConversion_Velocity_forceThisLibraryToBeLinked = 0;

namespace ORVA::Velocity {

namespace {

class VelocityValue final : public Interface {
public:
    VelocityValue(float x, float y, float z) noexcept : x_(x), y_(y), z_(z) {}
    float get_x() const override { return x_; }
    float get_y() const override { return y_; }
    float get_z() const override { return z_; }

private:
    float x_, y_, z_;
};

}  // namespace

Interface::~Interface() = default;
Middleware::SmartPtr<Interface> Interface::create(float x, float y, float z)
{
    return Middleware::SmartPtr<Interface>(new VelocityValue(x, y, z));
}

}  // namespace ORVA::Velocity
