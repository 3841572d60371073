// scenegen as a program on a private range: it follows a VKRsim object published here, its
// datagrams are caught and decoded here, and rangemon watches its SceneGenerator object.

#include "codec/jpegcodec.h"
#include "models/mission/vkrsim.h"
#include "support/groupsocket.h"
#include "support/isolation.h"
#include "tests/middleware/rangefixture.h"
#include "tools/scenegen/terrain.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

using namespace rangetest;
using namespace std::chrono_literals;
using vkrsim::test::ChildProcess;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Joins a group on a port of its own and takes the datagrams that arrive while asked to.
class Catcher {
public:
    Catcher(const std::string& group, unsigned short port) : socket_(group, port) {}
    bool joined() const { return socket_.joined(); }

    struct Batch {
        int count = 0;
        std::size_t largest = 0;
        int undecodable = 0;
        codec::Image last;  // the last picture, decoded
    };
    // Every datagram for `period`.
    Batch receiveFor(std::chrono::milliseconds period)
    {
        Batch b;
        std::vector<std::uint8_t> buffer(70000);
        const auto end = std::chrono::steady_clock::now() + period;
        for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
            pollfd p{socket_.fd(), POLLIN, 0};
            const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count());
            if (::poll(&p, 1, left) != 1)
                continue;
            const ssize_t n = ::recv(socket_.fd(), buffer.data(), buffer.size(), MSG_TRUNC);
            if (n < 0)
                continue;
            ++b.count;
            b.largest = std::max(b.largest, static_cast<std::size_t>(n));
            if (!codec::decodeJpeg(buffer.data(), static_cast<std::size_t>(n), b.last))
                ++b.undecodable;
        }
        return b;
    }
    // Datagrams until `count` arrived or `timeout` passed: a feed that stalls gives fewer. Checks
    // that pictures keep coming without depending on how fast this machine renders them.
    Batch receiveAtLeast(int count, std::chrono::milliseconds timeout)
    {
        Batch all;
        for (const auto end = std::chrono::steady_clock::now() + timeout;
             all.count < count && std::chrono::steady_clock::now() < end;) {
            Batch b = receiveFor(100ms);
            all.count += b.count;
            all.largest = std::max(all.largest, b.largest);
            all.undecodable += b.undecodable;
            if (b.count > 0)
                all.last = std::move(b.last);
        }
        return all;
    }

private:
    vkrsim::test::GroupSocket socket_;
};

// Pixels of the east landmark's colour.
int eastPixels(const codec::Image& image)
{
    const auto c = scenegen::kEastColour;
    int n = 0;
    for (std::size_t i = 0; i + 2 < image.sizeInBytes(); i += 3) {
        const std::uint8_t* p = image.pixels() + i;
        n += std::abs(p[0] - static_cast<int>(c.r * 255)) < 45 && std::abs(p[1] - static_cast<int>(c.g * 255)) < 45 &&
             std::abs(p[2] - static_cast<int>(c.b * 255)) < 45;
    }
    return n;
}

unsigned short portOfThisTest(int offset) { return static_cast<unsigned short>(21000 + (::getpid() % 4000) * 2 + offset); }

std::string tempDir()
{
    char pattern[] = "/tmp/scenegen-test-XXXXXX";
    return ::mkdtemp(pattern);
}

struct Sight {
    ManagedPtr<ORVA::Middleware::SDO::ServantFactory<HALC::VKRsim::ServantTraits>> factory;
    ManagedPtr<HALC::VKRsim::Servant> servant;

    explicit Sight(Member& m)
    {
        auto info = SmartPtr<HALC::VKRsim::PublicationInfo>(new HALC::VKRsim::PublicationInfo(
            SmartPtr<HALC::VKRsim::RemoteMethodsFactoryInterface>(new HALC::VKRsim::RemoteMethodsFactoryInterface())));
        factory = m.session->makeServantFactory<HALC::VKRsim::ServantTraits>(info);
        servant = factory->createServant(ORVA::Middleware::CommunicationProperties(1),
                                         ORVA::Middleware::ConcurrencyProperties(1));
    }
    void look(double psi, double phi, double fov = 90, double zoom = 1, double z = 0, double theta = 0)
    {
        auto u = servant->createUpdater();
        u->set_fieldOfView(fov);
        u->set_zoomFactor(zoom);
        u->set_viewFromZ(z);
        u->set_viewPsi(psi);
        u->set_viewTheta(theta);
        u->set_viewPhi(phi);
        servant->commitUpdater(std::move(u));
    }
};

}  // namespace

TEST(Scenegen, FollowsTheVKRsimViewAndKeepsFeedingThroughHostileValues)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("scenegen");
    auto manager = startManager(name);
    Member member = Member::join(name);
    Sight sight(member);
    sight.look(0.0, 0.0);  // east

    const std::string group = "239.255.42.31";
    const unsigned short port = portOfThisTest(0);
    Catcher catcher(group, port);
    ASSERT_TRUE(catcher.joined());
    const std::string log = ::testing::TempDir() + "scenegen." + std::to_string(::getpid());
    ChildProcess scenegen({vkrsim::test::builtProgram("scenegen"), "--execution", name, "--group", group, "--port",
                           std::to_string(port), "--size", "320x240", "--config", tempDir()},
                          log, {}, true);

    // East: the east landmark in the pictures, which arrive paced at about 30 per second.
    ASSERT_TRUE(vkrsim::test::eventually([&] { return eastPixels(catcher.receiveFor(300ms).last) > 50; }, 40s))
        << vkrsim::test::readFile(log);
    // Paced: never more than the rate (30 per second) allows, bursts included.
    Catcher::Batch b = catcher.receiveFor(2s);
    EXPECT_GE(b.count, 1);
    EXPECT_LE(b.count, 66);
    EXPECT_EQ(0, b.undecodable);
    EXPECT_LE(b.largest, 32768u);

    // North: the east landmark leaves the picture.
    sight.look(kPi / 2, 0.0);
    EXPECT_TRUE(vkrsim::test::eventually([&] { return eastPixels(catcher.receiveAtLeast(1, 5s).last) == 0; }, 20s));

    // Busy views (looking down on the grid, wide, banked) still fit one datagram each.
    sight.look(0.3, 1.2, 170, 1, -20, 0.5);
    b = catcher.receiveAtLeast(10, 20s);
    EXPECT_GE(b.count, 10);
    EXPECT_LE(b.largest, 32768u);
    EXPECT_EQ(0, b.undecodable);

    // Hostile values: the feed goes on with the last good view (east).
    sight.look(0.0, 0.0);
    ASSERT_TRUE(vkrsim::test::eventually([&] { return eastPixels(catcher.receiveAtLeast(1, 5s).last) > 50; }, 20s));
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* what;
        double psi, phi, fov, zoom, z;
    };
    const Row rows[] = {{"NaN heading", nan, 0, 90, 1, 0}, {"infinite tilt", 0, -inf, 90, 1, 0},
                        {"infinite eye", 0, 0, 90, 1, inf}, {"zero zoom", 0, 0, 90, 0, 0},
                        {"field of view 0", 0, 0, 0, 1, 0},  {"field of view 720", 0, 0, 720, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        sight.look(row.psi, row.phi, row.fov, row.zoom, row.z);
        b = catcher.receiveAtLeast(8, 20s);
        EXPECT_GE(b.count, 8);
        EXPECT_GT(eastPixels(b.last), 50);
        EXPECT_TRUE(scenegen.running());
    }
    const std::string text = vkrsim::test::readFile(log);
    EXPECT_NE(std::string::npos, text.find("kept the last good view")) << text;

    scenegen.signal(SIGTERM);
    EXPECT_EQ(0, scenegen.wait(10s).value_or(-1));
}

TEST(Scenegen, FollowsTheNamedVKRsimAndKeepsItsLastViewWhenItIsWithdrawn)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("scenegen");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto east = std::make_unique<Sight>(member);
    east->look(0.0, 0.0);
    auto north = std::make_unique<Sight>(member);
    north->look(kPi / 2, 0.0);
    std::ostringstream id;
    id << north->servant->getSDOid();

    const std::string group = "239.255.42.34";
    const unsigned short port = portOfThisTest(0);
    Catcher catcher(group, port);
    const std::string log = ::testing::TempDir() + "scenegen-follow." + std::to_string(::getpid());
    ChildProcess scenegen({vkrsim::test::builtProgram("scenegen"), "--execution", name, "--group", group, "--port",
                           std::to_string(port), "--size", "320x240", "--vkrsim", id.str(), "--config", tempDir()},
                          log, {}, true);
    ASSERT_TRUE(vkrsim::test::eventually(
        [&] { return vkrsim::test::readFile(log).find("following VKRsim " + id.str()) != std::string::npos; }, 40s))
        << vkrsim::test::readFile(log);
    const Catcher::Batch first = catcher.receiveAtLeast(3, 20s);
    EXPECT_GE(first.count, 3);
    EXPECT_EQ(0, eastPixels(first.last));

    // Withdrawn: the last view stays, the other object is not taken up in its place.
    north.reset();
    ASSERT_TRUE(vkrsim::test::eventually(
        [&] { return vkrsim::test::readFile(log).find("withdrawn; keeping its last view") != std::string::npos; }, 5s))
        << vkrsim::test::readFile(log);
    const Catcher::Batch b = catcher.receiveAtLeast(10, 20s);
    EXPECT_GE(b.count, 10);
    EXPECT_EQ(0, eastPixels(b.last));
}

TEST(Scenegen, RangemonSeesItsObjectAndSigtermWithdrawsIt)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("scenegen");
    auto manager = startManager(name);
    // The group and the frame come from the configuration files, as VKRsim reads them.
    const std::string dir = tempDir();
    std::ofstream(dir + "/config.txt") << "ORVA.LTP_latitude=47.5\nORVA.LTP_longitude=8.25\nORVA.LTP_HeightOffset=400\n";
    std::ofstream(dir + "/SceneGeneratorconfig.xml")
        << "<?xml version=\"1.0\"?>\n<MGXML><multicast_address> 239.255.42.32 </multicast_address></MGXML>\n";
    const unsigned short port = portOfThisTest(1);

    const std::string monitorLog = ::testing::TempDir() + "rangemon." + std::to_string(::getpid());
    ChildProcess rangemon({vkrsim::test::builtProgram("rangemon"), "--execution", name, "--verbosity", "3"},
                          monitorLog, {}, true);
    auto monitor = [&] { return vkrsim::test::readFile(monitorLog); };
    // scenegen commits its object twice, early: a monitor that joined later would be shown the
    // object at its last version, with no state change to dump the attributes.
    ASSERT_TRUE(vkrsim::test::eventually([&] { return monitor().find("rangemon - monitoring") != std::string::npos; }, 20s))
        << monitor();
    const std::string log = ::testing::TempDir() + "scenegen-sg." + std::to_string(::getpid());
    ChildProcess scenegen({vkrsim::test::builtProgram("scenegen"), "--execution", name, "--config", dir, "--port",
                           std::to_string(port), "--size", "160x120", "--rate", "10"},
                          log, {}, true);
    const std::string endPoint = " this.endPoint 239.255.42.32:" + std::to_string(port) + "\n";
    ASSERT_TRUE(vkrsim::test::eventually([&] { return monitor().find(endPoint) != std::string::npos; }, 40s))
        << monitor() << vkrsim::test::readFile(log);
    EXPECT_NE(std::string::npos, monitor().find("lat 47.5 lon 8.25 h 400")) << monitor();

    scenegen.signal(SIGTERM);
    EXPECT_TRUE(vkrsim::test::eventually(
        [&] { return monitor().find("HALC::SceneGenerator::BasicImpl DestructionCallbackImpl execute()") !=
                     std::string::npos; },
        15s))
        << monitor();
    EXPECT_EQ(0, scenegen.wait(10s).value_or(-1));
    std::filesystem::remove_all(dir);
}

TEST(Scenegen, ExitsWithUsageOnBadCommandLinesAndOneWhenItCannotJoin)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string dir = tempDir();
    ChildProcess noExecution({vkrsim::test::builtProgram("scenegen"), "--group", "239.255.42.33"});
    EXPECT_EQ(2, noExecution.wait(10s).value_or(-1));
    // No group anywhere: the configuration directory has no scene file.
    ChildProcess noGroup({vkrsim::test::builtProgram("scenegen"), "--execution", "E", "--config", dir});
    EXPECT_EQ(2, noGroup.wait(10s).value_or(-1));
    ChildProcess noManager({vkrsim::test::builtProgram("scenegen"), "--execution", uniqueName("scenegen"), "--group",
                            "239.255.42.33", "--port", std::to_string(portOfThisTest(0)), "--config", dir});
    EXPECT_EQ(1, noManager.wait(20s).value_or(-1));
    std::filesystem::remove_all(dir);
}
