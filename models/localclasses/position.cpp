#include "models/localclasses/position.h"

#include "models/localclasses/linkforcing.h"

std::int32_t fullConversion_Position_forceThisLibraryToBeLinked = 0;

namespace ORVA::Position {

namespace {

class PositionValue final : public Interface {
public:
    PositionValue(double x, double y, double z) noexcept : x_(x), y_(y), z_(z) {}
    double get_x() const override { return x_; }
    double get_y() const override { return y_; }
    double get_z() const override { return z_; }

private:
    double x_, y_, z_;
};

}  // namespace

Interface::~Interface() = default;
Middleware::SmartPtr<Interface> Interface::create(double x, double y, double z)
{
    return Middleware::SmartPtr<Interface>(new PositionValue(x, y, z));
}

}  // namespace ORVA::Position
