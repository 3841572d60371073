#pragma once
// Edge values that the peer publishes and the round-trip test expects: negative and extreme
// integers, empty and non-ASCII texts, both booleans, float values that are not exact in binary.

#include "models/mission/forcefeedback.h"
#include "models/mission/scenegenerator.h"
#include "models/mission/vkrsim.h"
#include "models/platform/platform.h"
#include "models/platform/platformextension.h"

#include <memory>

namespace peervalues {

inline std::unique_ptr<ORVA::Platform::PublicationStateUpdater> platform(std::unique_ptr<ORVA::Platform::PublicationStateUpdater> u)
{
    u->set_platformID(ORVA::UniqueID::Interface::create(65535, 7, 4294967295u));
    u->set_timeStamp(ORVA::Time::Interface::create(1700000000, 999999999));
    u->set_callSign("");
    u->set_designator("Δ-7 \"quoted\"");
    u->set_platformType(ORVA::PlatformType::Interface::create(12, 3));
    u->set_affiliation(ORVA::Affiliation::Hostile);
    u->set_damageState(-42);
    u->set_damagePercent(33.333333f);
    u->set_tspi(ORVA::TSPI::Interface::create({4510731.25, 4510731.5, -6378137.0}, {0.1, -0.2, 3.0}, {1.5, -2.5, 0.25}));
    return u;
}

inline std::unique_ptr<ORVA::PlatformExtension::PublicationStateUpdater> extension(std::unique_ptr<ORVA::PlatformExtension::PublicationStateUpdater> u)
{
    u->set_platformID(ORVA::UniqueID::Interface::create(1, 2, 3));
    u->set_timeStamp(ORVA::Time::Interface::create(-5, 1));
    u->set_extensionTypeID(4000000000u);
    return u;
}

inline std::unique_ptr<HALC::VKRsim::PublicationStateUpdater> vkrsim(std::unique_ptr<HALC::VKRsim::PublicationStateUpdater> u)
{
    u->set_fieldOfView(0.785398163);
    u->set_zoomFactor(-1e-300);
    u->set_terrainID(-1);
    u->set_viewFromX(1520.25);
    u->set_viewFromY(-310.5);
    u->set_viewFromZ(2.75);
    u->set_viewToX(1e300);
    u->set_viewToY(-0.0);
    u->set_viewToZ(0.1);
    u->set_viewPsi(0.825467075);
    u->set_viewTheta(-1.5707963267948966);
    u->set_viewPhi(3.14159);
    u->set_VKRsimID(ORVA::UniqueID::Interface::create(0, 65535, 0));
    return u;
}

inline std::unique_ptr<HALC::SceneGenerator::PublicationStateUpdater> sceneGenerator(std::unique_ptr<HALC::SceneGenerator::PublicationStateUpdater> u)
{
    u->set_sceneGeneratorID(ORVA::UniqueID::Interface::create(9, 8, 7));
    u->set_endPoint("");
    u->set_terrainDescription(std::string(5000, 't'));
    return u;
}

inline std::unique_ptr<HALC::ForceFeedback::PublicationStateUpdater> forceFeedback(std::unique_ptr<HALC::ForceFeedback::PublicationStateUpdater> u)
{
    u->set_magnitude(0.75);
    u->set_period(0.2);
    u->set_isActive(true);
    return u;
}

}  // namespace peervalues
