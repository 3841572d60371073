// The closed loop in one test: VKRsim's real session thread and sight view in this process,
// scenegen, uutsim and the execution manager as processes. A pan set through the state block
// (as the knob sets it) turns what the sight window's panel shows.

#include "../../sightview/sightfixtures.h"

#include "stateblock/stateblock.h"
#include "rangelink/sessionthread.h"
#include "sightview/snapimage.h"
#include "support/childprocess.h"
#include "support/isolation.h"
#include "support/messageboxrecorder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

using namespace sightview;

using namespace sighttest;
using namespace std::chrono_literals;
using vkrsim::test::ChildProcess;
using vkrsim::test::eventually;

TEST(ScenegenClosedLoop, PanFromTheStateBlockTurnsThePictureOnTheSightPanel)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    vkrsim::test::MessageBoxRecorder boxes;
    ScratchDirectory scratch;
    const std::string models = scratch.path() + "/models";
    std::filesystem::create_directory(models);
    // Clear overlays: only the panel and the clock draw.
    for (const char* overlay : {"qorn_static2.png", "reticule2.png", "dummy.png"})
        writeClearPng(models + "/" + overlay);
    writeBytes(models + "/mg.jpg", solidJpeg(Rgb{128, 128, 128}));
    const std::string group = "239.255.42.41";
    writeSceneFile(scratch.path(), group, {models});
    const std::string execution = "ClosedLoop." + std::to_string(::getpid());
    std::ofstream(scratch.path() + "/config.txt")
        << "ORVA.executionName=" << execution << "\nORVA.sessionName=VKRsim\nORVA.LTP_latitude=0\n"
        << "ORVA.LTP_longitude=0\nORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";

    stateBlock.panDegrees = 0;
    stateBlock.tiltDegrees = 0;
    stateBlock.stopSession = false;
    stateBlock.stopRender = false;
    ChildProcess manager({vkrsim::test::builtProgram("orva-executionmanager"), "--execution", execution});
    // One update only (the next is due after 100 s): the UUT, and so the view, stands still.
    ChildProcess uutsim({vkrsim::test::builtProgram("uutsim"), "--execution", execution, "--rate", "0.01"});
    const std::string log = scratch.path() + "/scenegen.log";
    ChildProcess scenegen({vkrsim::test::builtProgram("scenegen"), "--execution", execution, "--config",
                           scratch.path()},
                          log, {}, true);

    RenderThread sight;
    std::atomic<bool> sessionEnded{false};
    std::thread session([&] {
        sessionThread(nullptr);
        sessionEnded = true;
    });

    auto shown = [] { return feedStatistics().picturesShown.load(); };
    const bool following = eventually(
        [&] { return vkrsim::test::readFile(log).find("following VKRsim") != std::string::npos; }, 30s);
    EXPECT_TRUE(following) << vkrsim::test::readFile(log);
    // Pictures of the followed view on the panel, twice, to see how much a still view changes.
    auto settled = [&] {
        const auto before = shown();
        eventually([&] { return shown() >= before + 15; }, 10s);
        std::this_thread::sleep_for(300ms);
        return captureSightWindow();
    };
    const Frame ahead = settled();
    const Frame aheadAgain = settled();
    stateBlock.panDegrees = 180;
    const Frame behind = settled();
    if (::testing::Test::HasFailure() || std::getenv("SIGHTTEST_SAVE")) {
        ahead.save(::testing::TempDir() + "closedloop-ahead.png");
        behind.save(::testing::TempDir() + "closedloop-behind.png");
    }
    ASSERT_FALSE(ahead.empty());
    // Below the clock: the panel and the bare background only.
    const int still = ahead.differences(aheadAgain, 0, 150, 1000, 1000);
    const int turned = ahead.differences(behind, 0, 150, 1000, 1000);
    EXPECT_GT(turned, 2000) << "still " << still;
    EXPECT_GT(turned, 10 * still + 500) << "still " << still;

    stateBlock.stopSession = true;
    EXPECT_TRUE(eventually([&] { return sessionEnded.load(); }, 20s));
    session.join();
    // The feed waits for a datagram in each frame: scenegen keeps sending until the sight ends.
    stateBlock.stopRender = true;
    EXPECT_TRUE(eventually([&] { return sight.finished(); }, 10s));
    EXPECT_EQ(0, scenegen.stop(5s));
}
