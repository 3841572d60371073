// scenegen's pictures, rendered offscreen on the test display: the view, the landmarks, the sky
// and the Platforms in it.

#include "tools/scenegen/renderer.h"
#include "tools/scenegen/scene.h"
#include "tools/scenegen/terrain.h"

#include <osgDB/WriteFile>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace scenegen;

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

using Picture = std::vector<std::uint8_t>;  // RGB rows

struct Rgb {
    int r, g, b;
};

int count(const Picture& p, const std::function<bool(Rgb)>& match)
{
    int n = 0;
    for (std::size_t i = 0; i + 2 < p.size(); i += 3)
        n += match(Rgb{p[i], p[i + 1], p[i + 2]});
    return n;
}

int differences(const Picture& a, const Picture& b)
{
    int n = 0;
    for (std::size_t i = 0; i + 2 < a.size(); i += 3)
        n += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 30;
    return n;
}

bool near(Rgb p, Colour c, int tolerance)
{
    return std::abs(p.r - static_cast<int>(c.r * 255)) <= tolerance &&
           std::abs(p.g - static_cast<int>(c.g * 255)) <= tolerance &&
           std::abs(p.b - static_cast<int>(c.b * 255)) <= tolerance;
}

class ScenegenRender : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        scene_ = new Scene(1, 0.0);
        renderer_ = new Renderer(320, 240, scene_->root());
    }
    static void TearDownTestSuite()
    {
        delete renderer_;
        delete scene_;
    }
    static Picture render(const View& v, const std::vector<PlatformPose>& platforms = {})
    {
        scene_->setPlatforms(platforms, v.eye);
        const osg::Image& image = renderer_->render(v);
        // SCENEGEN_SAVE=DIR keeps every picture for a look (bottom row first, as rendered).
        if (const char* dir = std::getenv("SCENEGEN_SAVE")) {
            static int n = 0;
            osg::ref_ptr<osg::Image> copy = new osg::Image(image, osg::CopyOp::DEEP_COPY_ALL);
            osgDB::writeImageFile(*copy, std::string(dir) + "/picture" + std::to_string(++n) + ".png");
        }
        return Picture(image.data(), image.data() + image.getTotalSizeInBytes());
    }
    static View looking(double headingDegrees, double elevationDegrees = 0.0)
    {
        View v;
        v.heading = headingDegrees * kDeg;
        v.elevation = elevationDegrees * kDeg;
        return v;
    }

    static Scene* scene_;
    static Renderer* renderer_;
};
Scene* ScenegenRender::scene_ = nullptr;
Renderer* ScenegenRender::renderer_ = nullptr;

}  // namespace

TEST_F(ScenegenRender, PictureFollowsTheViewWithLandmarksAndSky)
{
    const Picture east = render(looking(0));
    const Picture north = render(looking(90));
    auto landmark = [](Colour c) { return [c](Rgb p) { return near(p, c, 40); }; };
    // Heading east shows the east landmark; heading north does not, but shows its own.
    EXPECT_GT(count(east, landmark(kEastColour)), 100);
    EXPECT_EQ(0, count(north, landmark(kEastColour)));
    EXPECT_GT(count(north, landmark(kNorthColour)), 100);
    EXPECT_GT(count(render(looking(180)), landmark(kWestColour)), 100);
    EXPECT_GT(count(render(looking(270)), landmark(kSouthColour)), 100);
    EXPECT_GT(differences(east, north), 2000);

    // Raising the view shows more sky; the sky stays above the ground.
    auto sky = [](Rgb p) { return near(p, kSky, 6); };
    const int level = count(north, sky);
    const int raised = count(render(looking(90, 20)), sky);
    const int lowered = count(render(looking(90, -20)), sky);
    EXPECT_GT(level, 320 * 240 / 5);
    EXPECT_GT(raised, level + 320 * 240 / 10);
    EXPECT_LT(lowered, level);
    // The same view gives the same picture.
    EXPECT_EQ(0, differences(north, render(looking(90))));
}

TEST_F(ScenegenRender, DrawsOtherPlatformsButNotTheOneTheSightRidesOn)
{
    const View view = looking(90, -3);
    const Picture bare = render(view);
    // A second Platform 60 m ahead, crossing the line of sight, wings level.
    const PlatformPose other{{0.0, 60.0, -3.0}, {0.0, 0.0, 0.0}};
    const int changed = differences(bare, render(view, {other}));
    EXPECT_GT(changed, 80);
    // The sight's own Platform sits at the eye (within 1 m): never drawn over the picture.
    const PlatformPose own{{0.4, 0.3, -0.2}, {90 * kDeg, 0.0, 0.0}};
    EXPECT_EQ(0, differences(bare, render(view, {own})));
    EXPECT_EQ(changed, differences(bare, render(view, {own, other})));
    // Turned and banked, it is still drawn where it is.
    EXPECT_GT(differences(bare, render(view, {{{0.0, 60.0, -3.0}, {1.0, 0.2, 0.6}}})), 80);
}
