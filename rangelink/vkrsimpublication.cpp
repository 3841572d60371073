#include "rangelink/vkrsimpublication.h"

#include "stateblock/stateblock.h"

#include <utility>

namespace rangelink {

namespace {

// Degrees to radians as the range link converts the operator's pan and tilt: this ten-digit
// value, not pi/180, so the published angles are the ones the range expects.
constexpr double kDegToRad = 0.0174532925;

}  // namespace

void createVKRsim(ORVA::Middleware::Session& session, VKRsimPublication& publication)
{
    publication.pPublicationInfo = ORVA::Middleware::SmartPtr<HALC::VKRsim::BasicImpl::PublicationInfoImpl>(
        new HALC::VKRsim::BasicImpl::PublicationInfoImpl());
    publication.pServantFactory = session.makeServantFactory<HALC::VKRsim::ServantTraits>(publication.pPublicationInfo);
    publication.pVKRsimServant = publication.pServantFactory->createServant(
        ORVA::Middleware::CommunicationProperties(1), ORVA::Middleware::ConcurrencyProperties(1));
}

ViewAngles viewAngles(double uutPsi, double uutTheta, double uutPhi, int panDegrees, int tiltDegrees)
{
    return {uutPsi - static_cast<double>(panDegrees) * kDegToRad, uutTheta,
            uutPhi + static_cast<double>(tiltDegrees) * kDegToRad};
}

}  // namespace rangelink

using namespace rangelink;

void publishView(VKRsimServantHandle servant)
{
    std::unique_ptr<HALC::VKRsim::PublicationStateUpdater> pVKRsimUpdater = servant->createUpdater();
    const ViewAngles view = viewAngles(stateBlock.uutPsi, stateBlock.uutTheta, stateBlock.uutPhi,
                                       stateBlock.panDegrees, stateBlock.tiltDegrees);
    pVKRsimUpdater->set_fieldOfView(90.0);
    pVKRsimUpdater->set_zoomFactor(1.0);
    pVKRsimUpdater->set_terrainID(101);
    pVKRsimUpdater->set_viewFromX(stateBlock.uutX);
    pVKRsimUpdater->set_viewFromY(stateBlock.uutY);
    pVKRsimUpdater->set_viewFromZ(stateBlock.uutZ);
    pVKRsimUpdater->set_viewToX(0.0);
    pVKRsimUpdater->set_viewToY(0.0);
    pVKRsimUpdater->set_viewToZ(0.0);
    pVKRsimUpdater->set_viewPsi(view.psi);
    pVKRsimUpdater->set_viewTheta(view.theta);
    pVKRsimUpdater->set_viewPhi(view.phi);
    stateBlock.sightPsi = view.psi;
    stateBlock.sightTheta = view.theta;
    stateBlock.sightPhi = view.phi;
    pVKRsimUpdater->set_VKRsimID(pVKRsimUpdater->get_VKRsimID());
    servant->commitUpdater(std::move(pVKRsimUpdater));
}
