// scenegen's pure parts: command line, view convention and hostile values, JPEG fitting.

#include "tools/scenegen/jpegfit.h"
#include "tools/scenegen/options.h"
#include "tools/scenegen/view.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cmath>
#include <limits>
#include <random>

using namespace scenegen;

TEST(ScenegenOptions, ReadsOptionsAndRefusesBadCommandLines)
{
    const auto r = parse({"--execution", "E", "--init-ref", "dds:4", "--config", "/tmp/x", "--group", "239.1.2.3",
                          "--port", "2100", "--rate", "25", "--size", "320x240", "--terrain", "7", "--vkrsim",
                          "SDO:9f0c2a1b44d3e870:3", "--duration", "1.5"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ("/tmp/x", r.options->configDir);
    EXPECT_EQ("239.1.2.3", r.options->group.value_or(""));
    EXPECT_EQ(2100, r.options->port);
    EXPECT_EQ(320, r.options->width);
    EXPECT_EQ(240, r.options->height);
    EXPECT_EQ(7u, r.options->terrainSeed);
    EXPECT_EQ("SDO:9f0c2a1b44d3e870:3", r.options->vkrsim.value_or(""));
    EXPECT_EQ(1.5, r.options->durationSeconds.value_or(-1));
    EXPECT_FALSE(parse({"--execution", "E"}).options->group);

    const std::vector<std::vector<std::string>> bad = {
        {}, {"--rate", "30"}, {"--execution"}, {"--execution", "E", "--port", "0"},
        {"--execution", "E", "--port", "70000"}, {"--execution", "E", "--rate", "0"},
        {"--execution", "E", "--rate", "nan"}, {"--execution", "E", "--size", "640"},
        {"--execution", "E", "--size", "8x8"}, {"--execution", "E", "--terrain", "-1"},
        {"--execution", "E", "--vkrsim", "UUT1"}, {"--execution", "E", "--duration", "-2"},
        {"--execution", "E", "--zoom", "2"}};
    for (const auto& row : bad) {
        std::string line;
        for (const auto& a : row)
            line += a + " ";
        SCOPED_TRACE(line);
        const auto b = parse(row);
        EXPECT_FALSE(b.options);
        EXPECT_FALSE(b.error.empty());
    }
}

namespace {
Vec3 forward(const View& v)
{
    const Camera c = cameraFor(v, 4.0 / 3.0);
    return {c.centre[0] - c.eye[0], c.centre[1] - c.eye[1], c.centre[2] - c.eye[2]};
}
VKRsimView sightView(double psi, double phi, double theta = 0.0)
{
    return {10.0, 20.0, 30.0, psi, theta, phi, 90.0, 1.0};
}
}  // namespace

// Signs as the operator expects: the sight subtracts the pan from psi and adds the tilt (top of
// the slider: negative) to phi.
TEST(ScenegenView, PanRightTurnsRightAndTiltThumbUpRaisesTheView)
{
    const double deg = 3.14159265358979323846 / 180.0;
    const View north = *viewFrom(sightView(90 * deg, 0)).view;
    const View panned = *viewFrom(sightView(90 * deg - 30 * deg, 0)).view;  // knob turned right by 30
    const Vec3 f0 = forward(north), f1 = forward(panned);
    EXPECT_NEAR(1.0, f0[1], 1e-9);
    EXPECT_GT(f1[0], 0.4) << "a pan to the right must turn from north towards east";
    const View raised = *viewFrom(sightView(90 * deg, -20 * deg)).view;  // thumb moved up by 20
    EXPECT_NEAR(std::sin(20 * deg), forward(raised)[2], 1e-9);
    EXPECT_EQ(10.0, raised.eye[0]);

    // Bank: the picture's up leans to the right of the line of sight (east, looking north).
    const Camera banked = cameraFor(*viewFrom(sightView(90 * deg, 0, 30 * deg)).view, 4.0 / 3.0);
    EXPECT_GT(banked.up[0], 0.4);
    EXPECT_NEAR(std::cos(30 * deg), banked.up[2], 1e-9);

    const View first = initialView();
    EXPECT_NEAR(1.0, forward(first)[1], 1e-9);
    EXPECT_EQ((Vec3{0, 0, 0}), first.eye);
    EXPECT_NEAR(90.0, cameraFor(first, 1.0).verticalFovDegrees, 1e-9);
}

TEST(ScenegenView, HostileValuesGiveNoView)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* what;
        VKRsimView v;
    };
    const Row rows[] = {
        {"NaN eye", {nan, 0, 0, 0, 0, 0, 90, 1}},         {"infinite psi", {0, 0, 0, inf, 0, 0, 90, 1}},
        {"NaN phi", {0, 0, 0, 0, 0, nan, 90, 1}},          {"-inf theta", {0, 0, 0, 0, -inf, 0, 90, 1}},
        {"zero zoom", {0, 0, 0, 0, 0, 0, 90, 0}},          {"field of view 0", {0, 0, 0, 0, 0, 0, 0, 1}},
        {"field of view 720", {0, 0, 0, 0, 0, 0, 720, 1}}, {"field of view 180", {0, 0, 0, 0, 0, 0, 180, 1}},
        {"negative zoom", {0, 0, 0, 0, 0, 0, 90, -1}},     {"NaN field", {0, 0, 0, 0, 0, 0, nan, 1}},
        {"eye past the earth", {1e30, 0, 0, 0, 0, 0, 90, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ViewResult r = viewFrom(row.v);
        EXPECT_FALSE(r.view);
        EXPECT_FALSE(r.fault.empty());
    }
    EXPECT_NEAR(45.0, viewFrom({0, 0, 0, 0, 0, 0, 90, 2}).view->horizontalFovDegrees, 1e-12);
    EXPECT_TRUE(viewFrom({0, 0, 0, 0, 0, 0, 179.9, 1}).view);
}

namespace {
int decodedWidth(const std::vector<std::uint8_t>& jpeg)
{
    tjhandle h = tjInitDecompress();
    int w = 0, hh = 0, sub = 0, colour = 0;
    const int rc = tjDecompressHeader3(h, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &w, &hh, &sub, &colour);
    tjDestroy(h);
    return rc == 0 ? w : -1;
}
}  // namespace

TEST(ScenegenJpeg, EveryPictureFitsOneDatagramAndQualityRecovers)
{
    const int w = 640, h = 480;
    std::vector<std::uint8_t> noise(static_cast<std::size_t>(w * h * 3));
    std::mt19937 random(5);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> calm(noise.size());
    for (std::size_t i = 0; i < calm.size(); ++i)
        calm[i] = static_cast<std::uint8_t>((i / 3 / w) * 255 / h);

    JpegFitter fitter;
    // Plain pictures go at the highest quality and full size.
    auto r = fitter.encode(calm.data(), w, h, true);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(90, r.quality);
    EXPECT_EQ(w, decodedWidth(fitter.jpeg()));

    // Pure noise is the worst case: lower quality is not enough, so the picture is halved.
    r = fitter.encode(noise.data(), w, h, true);
    ASSERT_TRUE(r.ok) << fitter.error();
    EXPECT_LE(fitter.jpeg().size(), kMaxDatagram);
    EXPECT_LT(r.width, w);
    EXPECT_EQ(r.width, decodedWidth(fitter.jpeg()));

    // Calm again: the quality climbs back, a step per picture, every one fitting.
    for (int i = 0; i < 10; ++i) {
        r = fitter.encode(calm.data(), w, h, true);
        ASSERT_TRUE(r.ok);
        EXPECT_LE(fitter.jpeg().size(), kMaxDatagram);
        EXPECT_EQ(w, r.width);
    }
    EXPECT_EQ(90, r.quality);

    // A limit no picture can meet is refused, never sent oversize.
    JpegFitter tiny(100);
    EXPECT_FALSE(tiny.encode(noise.data(), w, h, true).ok);
    EXPECT_TRUE(tiny.jpeg().empty());
}
