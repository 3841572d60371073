#pragma once
// The operator program's own VKRsim object: created once per session, updated after each
// Platform of a pass from the UUT pose and the operator's pan and tilt.

#include "basicimpl/mission/missionbasic.h"
#include "middleware/middleware.h"
#include "models/mission/vkrsim.h"

namespace rangelink {

using VKRsimServantHandle = ORVA::Middleware::ManagedPtr<HALC::VKRsim::Servant>;

// What the session thread holds of its VKRsim object, in order of creation.
struct VKRsimPublication {
    ORVA::Middleware::SmartPtr<HALC::VKRsim::BasicImpl::PublicationInfoImpl> pPublicationInfo;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::SDO::ServantFactory<HALC::VKRsim::ServantTraits>> pServantFactory;
    VKRsimServantHandle pVKRsimServant;
};

// Publication information, servant factory and servant (communication and concurrency
// properties 1). The object carries the model's initial values until the first update.
void createVKRsim(ORVA::Middleware::Session& session, VKRsimPublication& publication);

// View angles in radians: psi turned by the pan (subtracted), theta unchanged, phi turned by the
// tilt (added); pan and tilt in whole degrees, converted with the ten-digit factor.
struct ViewAngles {
    double psi, theta, phi;
};
ViewAngles viewAngles(double uutPsi, double uutTheta, double uutPhi, int panDegrees, int tiltDegrees);

}  // namespace rangelink

// Commits one update of the servant from the state block's UUT pose, pan and tilt, and stores the
// view angles in the state block. Takes the handle by value and releases it on return.
void publishView(rangelink::VKRsimServantHandle servant);
