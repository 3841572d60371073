// Every attribute type of the five classes, set in one process and read in another.

#include "support/isolation.h"
#include "models/mission/forcefeedback.h"
#include "models/mission/scenegenerator.h"
#include "models/mission/vkrsim.h"
#include "models/platform/platform.h"
#include "models/platform/platformextension.h"
#include "tests/middleware/rangefixture.h"

#include <cmath>

using namespace rangetest;
using namespace std::chrono_literals;

namespace {


template <class SubscriptionInfo, class Proxy>
std::shared_ptr<Recorder<Proxy>> follow(Member& member)
{
    auto recorder = std::make_shared<Recorder<Proxy>>();
    member.session->subscribe(recordingSubscription<SubscriptionInfo>(recorder));
    return recorder;
}

template <class Proxy>
bool atVersion2(const std::shared_ptr<Recorder<Proxy>>& r)
{
    return !r->events.empty() && r->events.back().version == 2;
}

}  // namespace

TEST(RoundTrip, EveryAttributeTypeCrossesProcessesUnchanged)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto platforms = follow<ORVA::Platform::SubscriptionInfo, ORVA::Platform::Proxy>(member);
    auto extensions = follow<ORVA::PlatformExtension::SubscriptionInfo, ORVA::PlatformExtension::Proxy>(member);
    auto vkrsims = follow<HALC::VKRsim::SubscriptionInfo, HALC::VKRsim::Proxy>(member);
    auto scenes = follow<HALC::SceneGenerator::SubscriptionInfo, HALC::SceneGenerator::Proxy>(member);
    auto forces = follow<HALC::ForceFeedback::SubscriptionInfo, HALC::ForceFeedback::Proxy>(member);

    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--mode", "allclasses"});
    ASSERT_TRUE(member.pumpUntil([&] {
        return atVersion2(platforms) && atVersion2(extensions) && atVersion2(vkrsims) && atVersion2(scenes) &&
               atVersion2(forces);
    }, 10s));

    {
        const auto s = platforms->events.back().proxy->getPublicationState();
        EXPECT_EQ(2u, s->get_ORVA_Platform_VersionCounter());
        EXPECT_EQ(65535, s->get_platformID()->get_siteID());
        EXPECT_EQ(7, s->get_platformID()->get_applicationID());
        EXPECT_EQ(4294967295u, s->get_platformID()->get_objectID());
        EXPECT_EQ(1700000000, s->get_timeStamp()->get_seconds());
        EXPECT_EQ(999999999u, s->get_timeStamp()->get_nanoseconds());
        EXPECT_EQ("", s->get_callSign());
        EXPECT_EQ("Δ-7 \"quoted\"", s->get_designator());
        EXPECT_EQ(12u, s->get_platformType()->get_typeIndex());
        EXPECT_EQ(3u, s->get_platformType()->get_databaseVersion());
        EXPECT_EQ(ORVA::Affiliation::Hostile, s->get_affiliation());
        EXPECT_EQ(-42, s->get_damageState());
        EXPECT_EQ(33.333333f, s->get_damagePercent());
        const auto& tspi = *s->get_tspi();
        EXPECT_EQ(4510731.25, tspi.geocentricPosition()[0]);
        EXPECT_EQ(-6378137.0, tspi.geocentricPosition()[2]);
        EXPECT_EQ(-0.2, tspi.geocentricOrientation()[1]);
        EXPECT_EQ(0.25, tspi.geocentricVelocity()[2]);
    }
    {
        const auto s = extensions->events.back().proxy->getPublicationState();
        EXPECT_EQ(2u, s->get_ORVA_PlatformExtension_VersionCounter());
        EXPECT_EQ(-5, s->get_timeStamp()->get_seconds());
        EXPECT_EQ(4000000000u, s->get_extensionTypeID());
        EXPECT_EQ(3u, s->get_platformID()->get_objectID());
    }
    {
        const auto s = vkrsims->events.back().proxy->getPublicationState();
        EXPECT_EQ(2u, s->get_HALC_VKRsim_VersionCounter());
        EXPECT_EQ(0.785398163, s->get_fieldOfView());
        EXPECT_EQ(-1e-300, s->get_zoomFactor());
        EXPECT_EQ(-1, s->get_terrainID());
        EXPECT_EQ(1520.25, s->get_viewFromX());
        EXPECT_EQ(-310.5, s->get_viewFromY());
        EXPECT_EQ(2.75, s->get_viewFromZ());
        EXPECT_EQ(1e300, s->get_viewToX());
        EXPECT_TRUE(std::signbit(s->get_viewToY()));
        EXPECT_EQ(0.1, s->get_viewToZ());
        EXPECT_EQ(0.825467075, s->get_viewPsi());
        EXPECT_EQ(-1.5707963267948966, s->get_viewTheta());
        EXPECT_EQ(3.14159, s->get_viewPhi());
        EXPECT_EQ(0, s->get_VKRsimID()->get_siteID());
        EXPECT_EQ(65535, s->get_VKRsimID()->get_applicationID());
    }
    {
        const auto s = scenes->events.back().proxy->getPublicationState();
        EXPECT_EQ(2u, s->get_HALC_SceneGenerator_VersionCounter());
        EXPECT_EQ(9, s->get_sceneGeneratorID()->get_siteID());
        EXPECT_EQ("", s->get_endPoint());
        EXPECT_EQ(std::string(5000, 't'), s->get_terrainDescription());
    }
    {
        const auto s = forces->events.back().proxy->getPublicationState();
        EXPECT_EQ(2u, s->get_HALC_ForceFeedback_VersionCounter());
        EXPECT_EQ(0.75, s->get_magnitude());
        EXPECT_EQ(0.2, s->get_period());
        EXPECT_TRUE(s->get_isActive());
    }
}

TEST(RoundTrip, NewObjectCarriesVersionOneAndModelDefaults)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member publisher = Member::join(name);
    auto subscriberSession = publisher.execution->openSession("subscriber");
    auto recorder = std::make_shared<Recorder<HALC::VKRsim::Proxy>>();
    subscriberSession->subscribe(recordingSubscription<HALC::VKRsim::SubscriptionInfo>(recorder));

    using namespace HALC::VKRsim;
    auto info = SmartPtr<PublicationInfo>(new PublicationInfo(
        SmartPtr<RemoteMethodsFactoryInterface>(new RemoteMethodsFactoryInterface())));
    auto factory = publisher.session->makeServantFactory<ServantTraits>(info);
    auto servant = factory->createServant(ORVA::Middleware::CommunicationProperties(1),
                                          ORVA::Middleware::ConcurrencyProperties(1));
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (recorder->events.empty() && std::chrono::steady_clock::now() < deadline)
        subscriberSession->evokeMultipleCallbacks(10000);
    ASSERT_EQ("d", recorder->kinds());
    const auto s = recorder->events[0].proxy->getPublicationState();
    EXPECT_EQ(1u, s->get_HALC_VKRsim_VersionCounter());
    EXPECT_EQ(0, s->get_terrainID());
    EXPECT_FALSE(s->get_VKRsimID().isNull());

    // The updater's local-class handle goes back unchanged; empty handles are refused.
    auto updater = servant->createUpdater();
    updater->set_VKRsimID(updater->get_VKRsimID());
    EXPECT_THROW(updater->set_VKRsimID(nullptr), ORVA::Middleware::InvalidAccess);
    EXPECT_THROW(servant->commitUpdater(nullptr), ORVA::Middleware::InvalidAccess);
    for (int i = 0; i < 3; ++i)
        servant->commitUpdater(servant->createUpdater());
    EXPECT_EQ(4u, servant->getPublicationState()->get_HALC_VKRsim_VersionCounter());
}
