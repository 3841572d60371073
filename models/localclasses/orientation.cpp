#include "models/localclasses/orientation.h"

#include "models/localclasses/linkforcing.h"

std::int32_t noConversion_Orientation_forceThisLibraryToBeLinked = 0;

namespace ORVA::Orientation {

namespace {

class OrientationValue final : public Interface {
public:
    OrientationValue(float psi, float theta, float phi) noexcept : psi_(psi), theta_(theta), phi_(phi) {}
    float get_psi() const override { return psi_; }
    float get_theta() const override { return theta_; }
    float get_phi() const override { return phi_; }

private:
    float psi_, theta_, phi_;
};

}  // namespace

Interface::~Interface() = default;
Middleware::SmartPtr<Interface> Interface::create(float psi, float theta, float phi)
{
    return Middleware::SmartPtr<Interface>(new OrientationValue(psi, theta, phi));
}

}  // namespace ORVA::Orientation
