// uutsim: its options, its tracks, and the program itself seen from another process.

#include "models/localclasses/localtangentplane.h"
#include "models/platform/platform.h"
#include "support/isolation.h"
#include "tests/middleware/rangefixture.h"
#include "tools/uutsim/options.h"
#include "tools/uutsim/track.h"

#include <cmath>
#include <csignal>
#include <set>

using namespace rangetest;
using namespace std::chrono_literals;

TEST(UutsimOptions, ReadsEveryOption)
{
    const auto r = uutsim::parse({"--execution", "E", "--init-ref", "dds:4", "--count", "5", "--rate", "2.5",
                                  "--duration", "0.5", "--lat", "-33.9", "--lon", "18.4", "--alt", "120"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ("E", r.options->execution);
    EXPECT_EQ("dds:4", r.options->initRef);
    EXPECT_EQ(5, r.options->count);
    EXPECT_EQ(2.5, r.options->rateHz);
    EXPECT_EQ(0.5, r.options->durationSeconds.value_or(-1));
    EXPECT_EQ(-33.9, r.options->latitude);
    EXPECT_EQ(18.4, r.options->longitude);
    EXPECT_EQ(120, r.options->altitude);
    EXPECT_FALSE(uutsim::parse({"--execution", "E"}).options->durationSeconds);
}

TEST(UutsimOptions, RefusesBadCommandLines)
{
    const std::vector<std::vector<std::string>> rows = {
        {}, {"--count", "2"}, {"--execution"}, {"--execution", "E", "--count", "0"},
        {"--execution", "E", "--count", "1.5"}, {"--execution", "E", "--rate", "0"},
        {"--execution", "E", "--rate", "fast"}, {"--execution", "E", "--lat", "91"},
        {"--execution", "E", "--duration", "-1"}, {"--execution", "E", "--speed", "3"},
        {"--execution", "E", "--alt", "nan"}};
    for (const auto& row : rows) {
        std::string line;
        for (const auto& a : row)
            line += a + " ";
        SCOPED_TRACE(line);
        const auto r = uutsim::parse(row);
        EXPECT_FALSE(r.options);
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_TRUE(uutsim::parse({"--help"}).help);
}

TEST(UutsimTrack, MovesOnItsCircleWithNoseAlongTheTrack)
{
    for (int index : {0, 1, 4}) {
        for (double t : {0.0, 1.0, 37.5, 600.0}) {
            SCOPED_TRACE(std::to_string(index) + " at " + std::to_string(t));
            const auto p = uutsim::poseAt(index, t);
            EXPECT_NEAR(uutsim::radiusOf(index), std::hypot(p.position[0], p.position[1]), 1e-6);
            EXPECT_NEAR(uutsim::kSpeed, std::hypot(p.velocity[0], p.velocity[1]), 1e-9);
            // Velocity tangent to the circle, heading equal to the velocity's direction.
            EXPECT_NEAR(0, p.position[0] * p.velocity[0] + p.position[1] * p.velocity[1], 1e-6);
            EXPECT_NEAR(0, std::remainder(std::atan2(p.velocity[1], p.velocity[0]) - p.orientation[0], 2 * M_PI), 1e-9);
            // A small step later the platform is where the velocity said.
            const auto q = uutsim::poseAt(index, t + 1e-3);
            EXPECT_NEAR(p.position[0] + p.velocity[0] * 1e-3, q.position[0], 1e-4);
            EXPECT_NEAR(p.position[1] + p.velocity[1] * 1e-3, q.position[1], 1e-4);
        }
    }
    EXPECT_NE(uutsim::poseAt(0, 0).position, uutsim::poseAt(1, 0).position);
}

TEST(Uutsim, PublishesMovingPlatformsAndWithdrawsThemOnSigterm)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("uutsim");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<Recorder<ORVA::Platform::Proxy>>();
    member.session->subscribe(recordingSubscription<ORVA::Platform::SubscriptionInfo>(recorder));

    const std::string output = ::testing::TempDir() + "uutsim." + std::to_string(::getpid());
    vkrsim::test::ChildProcess uutsim({vkrsim::test::builtProgram("uutsim"), "--execution", name, "--count", "3",
                                       "--rate", "20", "--lat", "47.5", "--lon", "8.25", "--alt", "400"},
                                      output);
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 3 && recorder->count('c') >= 30; }, 10s))
        << recorder->kinds();

    auto frame = ORVA::LocalTangentPlaneENUspatialReferenceFrame::Interface::create();
    frame->set_latitude(47.5);
    frame->set_longitude(8.25);
    frame->set_heightOffset(400);
    std::set<std::string> callSigns;
    for (const auto& e : recorder->events) {
        if (e.kind != 'd')
            continue;
        const auto state = e.proxy->getPublicationState();
        callSigns.insert(state->get_callSign());
        const auto p = state->get_tspi()->getPositionIn(frame);
        const auto v = state->get_tspi()->getVelocityIn(frame);
        const double r = std::hypot(p->get_x(), p->get_y());
        EXPECT_TRUE(std::abs(r - 400) < 0.01 || std::abs(r - 550) < 0.01 || std::abs(r - 700) < 0.01) << r;
        EXPECT_NEAR(0, p->get_z(), 0.01);
        EXPECT_NEAR(uutsim::kSpeed, std::hypot(v->get_x(), v->get_y()), 1e-3);
        EXPECT_GT(state->get_timeStamp()->get_seconds(), 1600000000);
    }
    EXPECT_EQ((std::set<std::string>{"UUT1", "UUT2", "UUT3"}), callSigns);

    uutsim.signal(SIGTERM);
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('x') == 3; }, 5s)) << recorder->kinds();
    EXPECT_EQ(0, uutsim.wait(5s).value_or(-1));
    EXPECT_NE(std::string::npos, vkrsim::test::readFile(output).find("withdrew UUT3"));
}

TEST(Uutsim, EndsByItselfAfterItsDuration)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("uutsim");
    auto manager = startManager(name);
    const auto started = std::chrono::steady_clock::now();
    vkrsim::test::ChildProcess uutsim(
        {vkrsim::test::builtProgram("uutsim"), "--execution", name, "--duration", "1", "--rate", "5"});
    EXPECT_EQ(0, uutsim.wait(8s).value_or(-1));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1s);
}

TEST(Uutsim, FailsWithoutAnExecutionManager)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    vkrsim::test::ChildProcess uutsim(
        {vkrsim::test::builtProgram("uutsim"), "--execution", uniqueName("uutsim")});
    EXPECT_EQ(1, uutsim.wait(10s).value_or(-1));
}
