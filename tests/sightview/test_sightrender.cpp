// The sight window under a real X server (Xvfb, Mesa), pictures from a sender on loopback.

#include "sightfixtures.h"

#include "stateblock/stateblock.h"
#include "sightview/sightobjects.h"
#include "sightview/snapimage.h"
#include "support/childprocess.h"
#include "support/isolation.h"
#include "support/messageboxrecorder.h"

#include <osg/NodeVisitor>
#include <osg/Notify>
#include <osg/Viewport>
#include <osgGA/StateSetManipulator>
#include <osgText/Text>
#include <osgViewer/View>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <regex>
#include <set>

using namespace sightview;

using namespace sighttest;
using namespace std::chrono_literals;
using vkrsim::test::eventually;

namespace {

// Where the panel shows in the window and the overlays of these tests leave it clear.
constexpr double kPanelU = 180.0;
constexpr double kPanelV = 300.0;

std::uint64_t shown() { return feedStatistics().picturesShown.load(); }

// The colour a picture of colour `c` gives on the panel: the panel's texture environment blends
// the lit panel colour towards black by the picture's colour.
bool panelShows(const Frame& f, Rgb c)
{
    const Rgb p = f.atHud(kPanelU, kPanelV);
    auto dark = [](int channel, int picture) { return picture > 128 ? channel < 60 : channel > 120; };
    return dark(p.r, c.r) && dark(p.g, c.g) && dark(p.b, c.b);
}

std::string describe(Rgb c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

long residentKilobytes()
{
    const std::string status = vkrsim::test::readFile("/proc/self/status");
    const auto at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

class SightRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        VKRSIM_REQUIRE_ISOLATED_NETWORK();
        stateBlock.stopRender = false;
        models_ = scratch_.path() + "/models";
        std::filesystem::create_directory(models_);
        // Layer 1 red, layer 2 green, layer 3 red under the tiny alpha of its quad; overlapping.
        writeSquarePng(models_ + "/qorn_static2.png", 300, 300, 400, 400, Rgb{255, 0, 0});
        writeSquarePng(models_ + "/reticule2.png", 300, 300, 500, 500, Rgb{0, 255, 0});
        writeSquarePng(models_ + "/dummy.png", 300, 20, 500, 500, Rgb{255, 0, 0});
        writeBytes(models_ + "/mg.jpg", solidJpeg(Rgb{128, 128, 128}));
        writeSceneFile(scratch_.path(), group_, {models_});
    }

    // Sets the stop request and keeps pictures flowing until the thread has returned.
    ::testing::AssertionResult stopRenderThread(RenderThread& thread, PictureSender& sender)
    {
        stateBlock.stopRender = true;
        sender.setPayload(solidJpeg(Rgb{128, 128, 128}));
        if (!eventually([&] { return thread.finished(); }, 10s))
            return ::testing::AssertionFailure() << "render thread still running after stopRender";
        return ::testing::AssertionSuccess();
    }

    // Waits until `count` more pictures were shown, then for two frames to be on screen.
    bool waitShown(std::uint64_t before, std::uint64_t count = 3)
    {
        const bool ok = eventually([&] { return shown() >= before + count; }, 10s);
        std::this_thread::sleep_for(150ms);
        return ok;
    }

    Frame capture(const char* name)
    {
        Frame f = captureSightWindow();
        if (::testing::Test::HasFailure() || std::getenv("SIGHTTEST_SAVE"))
            f.save(std::string(::testing::TempDir()) + name + ".png");
        return f;
    }

    ScratchDirectory scratch_;
    std::string models_;
    std::string group_ = "239.255.42.11";
};

// Finds the clock text in the scene of the last view.
struct ClockFinder : osg::NodeVisitor {
    ClockFinder() : osg::NodeVisitor(TRAVERSE_ALL_CHILDREN) {}
    void apply(osg::Drawable& drawable) override
    {
        if (auto* text = dynamic_cast<osgText::Text*>(&drawable))
            found = text->getText().createUTF8EncodedString();
    }
    std::string found;
};

std::string clockTextOfLastView()
{
    osgViewer::View* view = currentSightView.load();
    if (!view || !view->getSceneData())
        return {};
    ClockFinder finder;
    view->getSceneData()->accept(finder);
    return finder.found;
}

// White pixels of the clock text in its corner of the window.
int clockPixels(const Frame& f)
{
    int n = 0;
    for (int y = 80; y < 135; ++y)
        for (int x = 90; x < 420; ++x) {
            const Rgb p = f.at(x, y);
            if (p.r > 200 && p.g > 200 && p.b > 200)
                ++n;
        }
    return n;
}

TEST_F(SightRender, ShowsReceivedPictureUnderHudLayersInOrderWithRunningClock)
{
    PictureSender sender(group_);
    RenderThread thread;
    sender.setPayload(solidJpeg(Rgb{255, 0, 0}));
    ASSERT_TRUE(waitShown(shown()));
    const Frame first = capture("layers-first");
    ASSERT_FALSE(first.empty());

    // Layer 1 (red) over layer 2 (green) over layer 3 (faint red) over the panel.
    const Rgb top = first.atHud(350, 350);
    EXPECT_GT(top.r, 100) << describe(top);
    EXPECT_LT(top.g, 70) << describe(top);
    // Layer 2 over layer 3: the faint red of layer 3 is covered, not added on top.
    const Rgb middle = first.atHud(450, 350);
    EXPECT_GT(middle.g, 100) << describe(middle);
    EXPECT_LT(middle.r, 10) << describe(middle);
    // Layer 3 alone still tints the background a little.
    const Rgb veil = first.atHud(400, 60);
    const Rgb background = first.atHud(100, 60);
    EXPECT_GE(veil.r - background.r, 6) << describe(veil) << " over " << describe(background);

    // The panel blends the lit panel colour by the picture: red takes the red away.
    EXPECT_TRUE(panelShows(first, Rgb{255, 0, 0})) << describe(first.atHud(kPanelU, kPanelV));
    EXPECT_GT(clockPixels(first), 60);

    sender.setPayload(solidJpeg(Rgb{0, 0, 255}));
    std::this_thread::sleep_for(1100ms);
    ASSERT_TRUE(waitShown(shown()));
    const Frame second = capture("layers-second");
    EXPECT_TRUE(panelShows(second, Rgb{0, 0, 255})) << describe(second.atHud(kPanelU, kPanelV));
    EXPECT_GT(first.differences(second, 90, 80, 420, 135), 20) << "the clock did not change";

    ASSERT_TRUE(stopRenderThread(thread, sender));
    EXPECT_EQ(thread.result(), 0u);
    const std::string clock = clockTextOfLastView();
    EXPECT_TRUE(std::regex_match(clock, std::regex(R"([ \d]{2}\d:[ \d]\d:[ \d]\d:[ \d]\d\.[ \d]{2}\d)"))) << clock;
    EXPECT_NE(clock, "180:12:43:56.189");
}

// The installed overlays over the installed test card, against a capture of the window kept with
// the tests: how the window draws may change, what it shows may not. The clock's corner is left
// out (it shows the time). SIGHTTEST_KEEP=FILE writes the capture to keep.
TEST_F(SightRender, DrawsTheInstalledSceneAsTheKeptCapture)
{
    writeSceneFile(scratch_.path(), group_, {VKRSIM_DATA_DIR});
    const std::string card = vkrsim::test::readFile(VKRSIM_DATA_DIR "/mg.jpg");
    ASSERT_FALSE(card.empty());
    PictureSender sender(group_);
    RenderThread thread;
    sender.setPayload(std::vector<std::uint8_t>(card.begin(), card.end()));
    const bool drawn = waitShown(shown());
    const Frame now = capture("installed-scene");
    ASSERT_TRUE(stopRenderThread(thread, sender));
    ASSERT_TRUE(drawn);
    ASSERT_FALSE(now.empty());
    if (const char* keep = std::getenv("SIGHTTEST_KEEP")) {
        ASSERT_TRUE(now.save(keep));
    }
    const Frame kept = loadFrame(SIGHTTEST_KEPT_DIR "/installed-scene.png");
    ASSERT_FALSE(kept.empty());
    // At most a level or two of rounding on a few edges of the symbology.
    EXPECT_LE(now.differencesOutside(kept, 2, 80, 70, 440, 145), 500);
    EXPECT_EQ(now.differencesOutside(kept, 8, 80, 70, 440, 145), 0);
}

TEST_F(SightRender, ShowsDatagramOfExactlyBufferSizeButNotLongerOrEmpty)
{
    PictureSender sender(group_);
    RenderThread thread;
    const auto exact = paddedJpeg(solidJpeg(Rgb{255, 0, 0}), 32768);
    ASSERT_EQ(exact.size(), 32768u);
    sender.setPayload(exact);
    ASSERT_TRUE(waitShown(shown()));
    EXPECT_TRUE(panelShows(capture("exact"), Rgb{255, 0, 0}));

    struct Case {
        const char* what;
        std::vector<std::uint8_t> payload;
    };
    const Case cases[] = {
        {"32769 bytes", paddedJpeg(solidJpeg(Rgb{0, 0, 255}), 32769)},
        {"empty datagram", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Let the picture in hand be shown before counting.
        sender.pause();
        std::this_thread::sleep_for(150ms);
        const std::uint64_t shownBefore = shown();
        const std::uint64_t failedBefore = feedStatistics().failedReceives.load();
        sender.setPayload(c.payload);
        EXPECT_TRUE(eventually([&] { return feedStatistics().failedReceives.load() >= failedBefore + 5; }, 10s));
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(shown(), shownBefore);
        const Frame f = capture("not-shown");
        EXPECT_TRUE(panelShows(f, Rgb{255, 0, 0})) << describe(f.atHud(kPanelU, kPanelV));
    }
    ASSERT_TRUE(stopRenderThread(thread, sender));
}

TEST_F(SightRender, UndecodableDatagramLeavesPanelWithoutPictureAndRunning)
{
    PictureSender sender(group_);
    RenderThread thread;
    sender.setPayload(solidJpeg(Rgb{255, 0, 0}));
    ASSERT_TRUE(waitShown(shown()));

    const std::uint64_t undecodableBefore = feedStatistics().undecodable.load();
    auto broken = solidJpeg(Rgb{0, 0, 255});
    broken.resize(broken.size() / 3);
    std::fill(broken.begin() + 2, broken.end(), 0x5A);
    sender.setPayload(broken);
    ASSERT_TRUE(eventually([&] { return feedStatistics().undecodable.load() >= undecodableBefore + 3; }, 10s));
    std::this_thread::sleep_for(150ms);
    // No picture: the lit panel colour itself, neither the red picture's nor the blue one's.
    const Frame bare = capture("undecodable");
    const Rgb p = bare.atHud(kPanelU, kPanelV);
    EXPECT_GT(p.r, 120) << describe(p);
    EXPECT_GT(p.g, 120) << describe(p);
    EXPECT_GT(p.b, 120) << describe(p);

    sender.setPayload(solidJpeg(Rgb{0, 255, 0}));
    ASSERT_TRUE(waitShown(shown()));
    EXPECT_TRUE(panelShows(capture("after-undecodable"), Rgb{0, 255, 0}));

    // A datagram claiming a 4000 x 4000 picture that it does not hold: the 48 MB that its decode
    // needed are not kept.
    auto huge = solidJpeg(Rgb{0, 0, 255}, 4000, 4000);
    huge.resize(30000);
    const long before = residentKilobytes();
    const std::uint64_t failedBefore = feedStatistics().undecodable.load();
    sender.setPayload(huge);
    ASSERT_TRUE(eventually([&] { return feedStatistics().undecodable.load() >= failedBefore + 3; }, 20s));
    sender.setPayload(solidJpeg(Rgb{255, 0, 0}));
    ASSERT_TRUE(waitShown(shown()));
    const long grownKilobytes = residentKilobytes() - before;
#if defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer freed blocks stay resident in its quarantine; LeakSanitizer checks
    // what is kept instead.
    static_cast<void>(grownKilobytes);
#else
    EXPECT_LT(grownKilobytes, 24 * 1024);
#endif
    ASSERT_TRUE(stopRenderThread(thread, sender));
}

TEST_F(SightRender, GroupThatCannotBeJoinedShowsTheBox)
{
    // Not a multicast address: the socket binds port 2000 but the join fails.
    writeSceneFile(scratch_.path(), "10.1.2.3", {models_});
    vkrsim::test::MessageBoxRecorder recorder;
    PictureSender unicast("127.0.0.1");
    RenderThread thread;
    ASSERT_TRUE(eventually([&] { return !recorder.boxes().empty(); }, 10s));
    const auto box = recorder.boxes().front();
    EXPECT_EQ(box.text, "Error in subscribing to Multicast address ");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.icon, desktop::MessageIcon::None);
    EXPECT_FALSE(box.topMost);
    ASSERT_TRUE(stopRenderThread(thread, unicast));
}

TEST_F(SightRender, PictureSentToAnotherGroupOnTheSamePortIsNotShown)
{
    PictureSender own(group_);
    RenderThread thread;
    own.setPayload(solidJpeg(Rgb{255, 0, 0}));
    ASSERT_TRUE(waitShown(shown()));
    own.pause();
    std::this_thread::sleep_for(100ms);

    // Some other program of the host is a member of the other group.
    GroupMember member("239.255.42.99");
    PictureSender other("239.255.42.99");
    const std::uint64_t shownBefore = shown();
    other.setPayload(solidJpeg(Rgb{0, 0, 255}));
    std::this_thread::sleep_for(1s);
    EXPECT_GT(other.sent(), 50u);
    EXPECT_EQ(shown(), shownBefore);
    EXPECT_TRUE(panelShows(capture("other-group"), Rgb{255, 0, 0}));
    other.pause();
    ASSERT_TRUE(stopRenderThread(thread, own));
}

// Records what the scene-graph library writes to its notify stream.
class NotifyRecorder : public osg::NotifyHandler {
public:
    void notify(osg::NotifySeverity severity, const char* message) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.emplace_back(severity, message);
    }
    bool has(osg::NotifySeverity severity, const std::string& text)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::find(lines_.begin(), lines_.end(), std::make_pair(severity, text)) != lines_.end();
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<osg::NotifySeverity, std::string>> lines_;
};

TEST_F(SightRender, StopRenderEndsTheLoopWhilePicturesFlow)
{
    osg::ref_ptr<NotifyRecorder> notes = new NotifyRecorder;
    osg::setNotifyHandler(notes.get());
    osg::setNotifyLevel(osg::INFO);
    PictureSender sender(group_);
    RenderThread thread;
    sender.setPayload(solidJpeg(Rgb{255, 0, 0}));
    ASSERT_TRUE(waitShown(shown()));
    osg::setNotifyLevel(osg::NOTICE);
    EXPECT_FALSE(thread.finished());
    stateBlock.stopRender = true;
    EXPECT_TRUE(eventually([&] { return thread.finished(); }, 2s));
    EXPECT_EQ(thread.result(), 0u);
    EXPECT_TRUE(eventually([] { return !sightWindowShown(); }, 2s));
    EXPECT_TRUE(notes->has(osg::INFO, "  GraphicsWindow has been created successfully.\n"));

    // The view as the thread set it up.
    osgViewer::View* view = currentSightView.load();
    ASSERT_NE(view, nullptr);
    osg::Camera* camera = view->getCamera();
    const osg::Viewport* viewport = camera->getViewport();
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(viewport->width(), 1000);
    EXPECT_EQ(viewport->height(), 1000);
    double left, right, bottom, top, zNear, zFar;
    ASSERT_TRUE(camera->getProjectionMatrixAsFrustum(left, right, bottom, top, zNear, zFar));
    EXPECT_NEAR((right - left) / (top - bottom), 1.0, 1e-9);
    EXPECT_EQ(view->getCameraManipulator(), &sightTrackball());
    ASSERT_EQ(view->getEventHandlers().size(), 1u);
    EXPECT_NE(dynamic_cast<osgGA::StateSetManipulator*>(view->getEventHandlers().front().get()), nullptr);
    EXPECT_NE(dynamic_cast<SnapImage*>(camera->getPreDrawCallback()), nullptr);
    osg::GraphicsContext* gc = camera->getGraphicsContext();
    ASSERT_NE(gc, nullptr);
    EXPECT_EQ(gc->getClearColor(), osg::Vec4(0.2f, 0.2f, 0.6f, 1.0f));
    EXPECT_EQ(gc->getClearMask(), 0x4100u);
    EXPECT_TRUE(gc->getTraits()->windowDecoration);
    EXPECT_TRUE(gc->getTraits()->doubleBuffer);
    osg::setNotifyHandler(new osg::StandardNotifyHandler);
}

TEST_F(SightRender, ClosingTheWindowEndsTheThreadAndStartOpensAWorkingWindowAgain)
{
    PictureSender sender(group_);
    {
        RenderThread thread;
        sender.setPayload(solidJpeg(Rgb{255, 0, 0}));
        ASSERT_TRUE(waitShown(shown()));
        ASSERT_TRUE(closeSightWindow());
        ASSERT_TRUE(eventually([&] { return thread.finished(); }, 5s));
        EXPECT_EQ(thread.result(), 0u);
        EXPECT_FALSE(sightWindowShown());
    }
    RenderThread again;
    sender.setPayload(solidJpeg(Rgb{0, 0, 255}));
    ASSERT_TRUE(waitShown(shown(), 10));
    ASSERT_TRUE(sightWindowShown());
    const Frame f = capture("again");
    EXPECT_TRUE(panelShows(f, Rgb{0, 0, 255})) << describe(f.atHud(kPanelU, kPanelV));
    EXPECT_GT(clockPixels(f), 60);
    ASSERT_TRUE(stopRenderThread(again, sender));
}

}  // namespace

namespace {

// The sight window as an operator sees it: the installation data, and a GStreamer pipeline as
// an independent peer sending 640 x 480 test pictures. SIGHTTEST_SCREENSHOT=path keeps a frame.
TEST(SightRenderWithPeer, ShowsGStreamerPicturesUnderTheInstalledOverlays)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    stateBlock.stopRender = false;
    ScratchDirectory scratch;
    const std::string group = "239.255.42.31";
    writeSceneFile(scratch.path(), group, {VKRSIM_DATA_DIR});
    vkrsim::test::ChildProcess gstreamer(
        {"/usr/bin/gst-launch-1.0", "-q", "videotestsrc", "pattern=smpte", "horizontal-speed=2", "!",
         "video/x-raw,width=640,height=480,framerate=30/1", "!", "jpegenc", "quality=50", "!", "udpsink",
         "host=" + group, "port=2000", "auto-multicast=true", "multicast-iface=lo", "ttl-mc=1"},
        scratch.path() + "/gstreamer.log", "", true);
    const std::uint64_t before = shown();
    RenderThread thread;
    ASSERT_TRUE(eventually([&] { return shown() >= before + 30; }, 15s))
        << vkrsim::test::readFile(scratch.path() + "/gstreamer.log");
    std::this_thread::sleep_for(200ms);
    const Frame f = captureSightWindow();
    if (const char* path = std::getenv("SIGHTTEST_SCREENSHOT"))
        f.save(path);

    // The bars of the picture: many colours across the panel's width.
    std::set<int> colours;
    for (int x = 100; x < 900; x += 10) {
        const Rgb p = f.at(x, 600);
        colours.insert((p.r / 32) * 64 + (p.g / 32) * 8 + p.b / 32);
    }
    EXPECT_GE(colours.size(), 5u);
    // The green symbology frame of the overlay near the window's left edge (HUD x 24..26).
    const Rgb frame = f.atHud(25, 256);
    EXPECT_GT(frame.g, 150);
    EXPECT_LT(frame.r, frame.g);
    EXPECT_GT(clockPixels(f), 60);

    stateBlock.stopRender = true;
    EXPECT_TRUE(eventually([&] { return thread.finished(); }, 5s));
}

}  // namespace
