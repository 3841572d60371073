// State-change output at verbosity 3, byte for byte, for every class, on proxies made here.

#include "tests/basicimpl/localproxies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using basicimpltest::eventLines;
using basicimpltest::makeProxy;
using ORVA::Middleware::SDOid;
using ORVA::Middleware::SmartPtr;

const SDOid objectId(0x9f0c2a1b44d3e870ull, 3);

// Runs one state-change callback of the family on `proxy` and returns what it wrote.
template <class Family, class ProxyHandle>
std::string stateChange(const ProxyHandle& proxy, std::uint32_t verbosity, std::ostringstream out = {})
{
    const SmartPtr<typename Family::CallbackInfo> info(new typename Family::CallbackInfo(out, verbosity));
    typename Family::StateChangeCallbackImpl(proxy, info).execute();
    return out.str();
}

struct PlatformFamily {
    using CallbackInfo = ORVA::Platform::BasicImpl::CallbackInfo;
    using StateChangeCallbackImpl = ORVA::Platform::BasicImpl::StateChangeCallbackImpl;
};
struct PlatformExtensionFamily {
    using CallbackInfo = ORVA::PlatformExtension::BasicImpl::CallbackInfo;
    using StateChangeCallbackImpl = ORVA::PlatformExtension::BasicImpl::StateChangeCallbackImpl;
};
struct VKRsimFamily {
    using CallbackInfo = HALC::VKRsim::BasicImpl::CallbackInfo;
    using StateChangeCallbackImpl = HALC::VKRsim::BasicImpl::StateChangeCallbackImpl;
};
struct SceneGeneratorFamily {
    using CallbackInfo = HALC::SceneGenerator::BasicImpl::CallbackInfo;
    using StateChangeCallbackImpl = HALC::SceneGenerator::BasicImpl::StateChangeCallbackImpl;
};
struct ForceFeedbackFamily {
    using CallbackInfo = HALC::ForceFeedback::BasicImpl::CallbackInfo;
    using StateChangeCallbackImpl = HALC::ForceFeedback::BasicImpl::StateChangeCallbackImpl;
};

std::size_t lineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

ORVA::Platform::Attributes platformWithEmptyTexts()
{
    ORVA::Platform::Attributes a;
    a.platformID = ORVA::UniqueID::Interface::create(1, 2, 3);
    a.timeStamp = ORVA::Time::Interface::create(1700000000, 5);
    a.platformType = ORVA::PlatformType::Interface::create(12, 1);
    a.affiliation = ORVA::Affiliation::Hostile;
    a.damageState = -5;
    a.damagePercent = 33.333333f;
    a.tspi = ORVA::TSPI::Interface::create({4510000.0, 800000.0, 4400000.0}, {0.1, 0.2, 0.3}, {1.0, 2.0, 3.0});
    return a;
}

TEST(AttributeDump, PlatformWritesFifteenLinesWithEmptyTextsAndLabelOnlyLocalClasses)
{
    const auto proxy = makeProxy<ORVA::Platform::Proxy>(objectId, 7, platformWithEmptyTexts());
    const std::string expected =
        eventLines("ORVA::Platform::BasicImpl StateChangeCallbackImpl execute()", objectId, 7) +
        " this.ORVA_Platform_VersionCounter 7\n"
        " this.platformID \n"
        "    platformID.siteID 1\n"
        "    platformID.applicationID 2\n"
        "    platformID.objectID 3\n"
        " this.timeStamp \n"
        " this.callSign \n"
        " this.designator \n"
        " this.platformType \n"
        "    platformType.typeIndex 12\n"
        "    platformType.databaseVersion 1\n"
        " this.affiliation 2\n"
        " this.damageState -5\n"
        " this.damagePercent 33.3333\n"
        " this.tspi \n";
    const std::string written = stateChange<PlatformFamily>(proxy, 3);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lineCount(written), 18u);
}

TEST(AttributeDump, PlatformWithTextsAndFriendlyAffiliation)
{
    ORVA::Platform::Attributes a = platformWithEmptyTexts();
    a.callSign = "Alpha";
    a.designator = "A1";
    a.affiliation = ORVA::Affiliation::Friend;
    a.damageState = 0;
    a.damagePercent = 0.5f;
    const std::string written = stateChange<PlatformFamily>(makeProxy<ORVA::Platform::Proxy>(objectId, 2, a), 3);
    EXPECT_NE(written.find("\n this.callSign Alpha\n this.designator A1\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\n this.affiliation 1\n this.damageState 0\n this.damagePercent 0.5\n"),
              std::string::npos)
        << written;
}

TEST(AttributeDump, PlatformExtensionWritesTenLines)
{
    ORVA::PlatformExtension::Attributes a;
    a.platformID = ORVA::UniqueID::Interface::create(7, 8, 4294967295u);
    a.timeStamp = ORVA::Time::Interface::create(42);
    a.extensionTypeID = 4294967295u;
    const auto proxy = makeProxy<ORVA::PlatformExtension::Proxy>(objectId, 4, a);
    const std::string expected =
        eventLines("ORVA::PlatformExtension::BasicImpl StateChangeCallbackImpl execute()", objectId, 4) +
        " this.ORVA_PlatformExtension_VersionCounter 4\n"
        " this.platformID \n"
        "    platformID.siteID 7\n"
        "    platformID.applicationID 8\n"
        "    platformID.objectID 4294967295\n"
        " this.timeStamp \n"
        " this.extensionTypeID 4294967295\n";
    const std::string written = stateChange<PlatformExtensionFamily>(proxy, 3);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lineCount(written), 10u);
}

HALC::VKRsim::Attributes vkrsimAttributes()
{
    HALC::VKRsim::Attributes a;
    a.fieldOfView = 0.785398163;
    a.zoomFactor = 1.0;
    a.terrainID = -1;
    a.viewFromX = 1234567.891;
    a.viewFromY = -0.5;
    a.viewFromZ = 100.0;
    a.viewPsi = 3.14159265;
    a.viewTheta = 1e-7;
    a.viewPhi = -2.5;
    a.VKRsimID = ORVA::UniqueID::Interface::create(65535, 0, 9);
    return a;
}

TEST(AttributeDump, VKRsimWritesTwentyLinesWithSignedTerrainAndDefaultFloatFormat)
{
    const auto proxy = makeProxy<HALC::VKRsim::Proxy>(objectId, 2, vkrsimAttributes());
    const std::string expected =
        eventLines("HALC::VKRsim::BasicImpl StateChangeCallbackImpl execute()", objectId, 2) +
        " this.HALC_VKRsim_VersionCounter 2\n"
        " this.fieldOfView 0.785398\n"
        " this.zoomFactor 1\n"
        " this.terrainID -1\n"
        " this.viewFromX 1.23457e+06\n"
        " this.viewFromY -0.5\n"
        " this.viewFromZ 100\n"
        " this.viewToX 0\n"
        " this.viewToY 0\n"
        " this.viewToZ 0\n"
        " this.viewPsi 3.14159\n"
        " this.viewTheta 1e-07\n"
        " this.viewPhi -2.5\n"
        " this.VKRsimID \n"
        "    VKRsimID.siteID 65535\n"
        "    VKRsimID.applicationID 0\n"
        "    VKRsimID.objectID 9\n";
    const std::string written = stateChange<VKRsimFamily>(proxy, 3);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(lineCount(written), 20u);
}

TEST(AttributeDump, FloatsAndIndentsFollowTheStreamsSettings)
{
    const auto proxy = makeProxy<HALC::VKRsim::Proxy>(objectId, 2, vkrsimAttributes());
    std::ostringstream out;
    out.precision(10);
    const std::string written = stateChange<VKRsimFamily>(proxy, 3, std::move(out));
    EXPECT_NE(written.find("\n this.fieldOfView 0.785398163\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\n this.viewFromX 1234567.891\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\n    VKRsimID.siteID 65535\n"), std::string::npos) << written;

    // A fill character other than space shows in the member indent, as the stream sets it.
    std::ostringstream filled;
    filled.fill('.');
    const std::string dotted = stateChange<VKRsimFamily>(proxy, 3, std::move(filled));
    EXPECT_NE(dotted.find("\n... VKRsimID.objectID 9\n"), std::string::npos) << dotted;
    EXPECT_NE(dotted.find("\n this.terrainID -1\n"), std::string::npos) << dotted;
}

TEST(AttributeDump, SceneGeneratorWithEmptyEndPoint)
{
    HALC::SceneGenerator::Attributes a;
    a.sceneGeneratorID = ORVA::UniqueID::Interface::create(3, 4, 5);
    a.terrainDescription = "Desert range, sector 7";
    const auto proxy = makeProxy<HALC::SceneGenerator::Proxy>(objectId, 5, a);
    const std::string expected =
        eventLines("HALC::SceneGenerator::BasicImpl StateChangeCallbackImpl execute()", objectId, 5) +
        " this.HALC_SceneGenerator_VersionCounter 5\n"
        " this.sceneGeneratorID \n"
        "    sceneGeneratorID.siteID 3\n"
        "    sceneGeneratorID.applicationID 4\n"
        "    sceneGeneratorID.objectID 5\n"
        " this.endPoint \n"
        " this.terrainDescription Desert range, sector 7\n";
    EXPECT_EQ(stateChange<SceneGeneratorFamily>(proxy, 3), expected);
}

TEST(AttributeDump, ForceFeedbackWritesTrueAndFalse)
{
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active);
        HALC::ForceFeedback::Attributes a;
        a.magnitude = 0.75;
        a.period = 0.2;
        a.isActive = active;
        const auto proxy = makeProxy<HALC::ForceFeedback::Proxy>(objectId, 3, a);
        const std::string expected =
            eventLines("HALC::ForceFeedback::BasicImpl StateChangeCallbackImpl execute()", objectId, 3) +
            " this.HALC_ForceFeedback_VersionCounter 3\n"
            " this.magnitude 0.75\n"
            " this.period 0.2\n" +
            (active ? " this.isActive true\n" : " this.isActive false\n");
        EXPECT_EQ(stateChange<ForceFeedbackFamily>(proxy, 3), expected);
    }
}

TEST(AttributeDump, OnlyFromVerbosityThree)
{
    const auto proxy = makeProxy<HALC::ForceFeedback::Proxy>(objectId, 3, HALC::ForceFeedback::Attributes());
    const std::string events = eventLines("HALC::ForceFeedback::BasicImpl StateChangeCallbackImpl execute()", objectId, 3);
    const std::string dump =
        " this.HALC_ForceFeedback_VersionCounter 3\n this.magnitude 0\n this.period 0\n this.isActive false\n";
    struct Row {
        std::uint32_t verbosity;
        std::string expected;
    };
    const Row rows[] = {{0, ""}, {1, "c"}, {2, events}, {3, events + dump}, {4, events + dump},
                        {4294967295u, events + dump}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.verbosity);
        EXPECT_EQ(stateChange<ForceFeedbackFamily>(proxy, row.verbosity), row.expected);
    }
}

TEST(AttributeDump, EmptyLocalClassHandleRaisesAfterTheLinesBeforeIt)
{
    ORVA::Platform::Attributes a = platformWithEmptyTexts();
    a.platformType = nullptr;
    const auto proxy = makeProxy<ORVA::Platform::Proxy>(objectId, 7, a);
    std::ostringstream out;
    const SmartPtr<ORVA::Platform::BasicImpl::CallbackInfo> info(new ORVA::Platform::BasicImpl::CallbackInfo(out, 3));
    try {
        ORVA::Platform::BasicImpl::StateChangeCallbackImpl(proxy, info).execute();
        FAIL() << "no exception";
    } catch (const ORVA::Middleware::InvalidAccess& e) {
        EXPECT_STREQ(e.what(), "operator->() on null SmartPtr");
    }
    // Everything up to the label of the empty local class was written and flushed.
    const std::string written = out.str();
    EXPECT_EQ(written.substr(written.size() - std::string(" this.designator \n this.platformType \n").size()),
              " this.designator \n this.platformType \n");
}

}  // namespace
