// The installation data made at build time: the overlays are mostly clear with symbology on
// them, the first panel picture and the font load, and the sample scene file finds them all.

#include "codec/jpegcodec.h"
#include "sightview/scenesettings.h"
#include "support/childprocess.h"

#include <osg/Image>
#include <osgDB/ReadFile>
#include <osgText/Font>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kData = VKRSIM_DATA_DIR;

struct Coverage {
    double clear = 0;   // share of texels with alpha 0
    double opaque = 0;  // share of texels with alpha 255
    int maxAlpha = 0;
};

Coverage coverageOf(const osg::Image& image)
{
    Coverage c;
    const int n = image.s() * image.t();
    for (int y = 0; y < image.t(); ++y)
        for (int x = 0; x < image.s(); ++x) {
            const int alpha = image.data(x, y)[3];
            c.clear += alpha == 0 ? 1.0 / n : 0.0;
            c.opaque += alpha == 255 ? 1.0 / n : 0.0;
            c.maxAlpha = std::max(c.maxAlpha, alpha);
        }
    return c;
}

TEST(InstallationData, OverlaysAreMostlyClearWithTheirSymbology)
{
    struct Row {
        const char* file;
        double minClear, minOpaque, maxOpaque;
        int maxAlpha;
    };
    const Row rows[] = {
        {"qorn_static2.png", 0.80, 0.02, 0.20, 255},  // frame, scales, corner marks
        {"reticule2.png", 0.95, 0.001, 0.05, 255},    // broken cross, ring, range marks
        {"dummy.png", 0.0, 0.0, 0.0, 40},             // a faint veil all over
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        osg::ref_ptr<osg::Image> image = osgDB::readImageFile(kData + "/" + row.file);
        ASSERT_TRUE(image.valid());
        EXPECT_EQ(image->s(), 512);
        EXPECT_EQ(image->t(), 512);
        ASSERT_EQ(image->getPixelFormat(), static_cast<GLenum>(GL_RGBA));
        const Coverage c = coverageOf(*image);
        EXPECT_GE(c.clear, row.minClear);
        EXPECT_GE(c.opaque, row.minOpaque);
        EXPECT_LE(c.opaque, row.maxOpaque);
        EXPECT_LE(c.maxAlpha, row.maxAlpha);
        EXPECT_GT(c.maxAlpha, 0);
    }
}

TEST(InstallationData, FirstPanelPictureAndClockFontLoad)
{
    const std::string mg = vkrsim::test::readFile(kData + "/mg.jpg");
    codec::Image picture;
    ASSERT_TRUE(codec::decodeJpeg(reinterpret_cast<const std::uint8_t*>(mg.data()), mg.size(), picture));
    EXPECT_EQ(picture.width(), 640);
    EXPECT_EQ(picture.height(), 480);
    // Fits one datagram of the feed, so it can also be sent as a picture.
    EXPECT_LE(mg.size(), 32768u);

    osg::ref_ptr<osgText::Font> font = osgText::readRefFontFile(kData + "/Arcade_Interlaced.ttf");
    ASSERT_TRUE(font.valid());
    EXPECT_NE(font->getFileName().find("Arcade_Interlaced.ttf"), std::string::npos);
}

TEST(InstallationData, SampleSceneFileFindsTheData)
{
    readSceneSettings(kData + "/SceneGeneratorconfig.xml");
    EXPECT_EQ(sceneSettings.multicastAddress, "239.255.42.1");
    ASSERT_EQ(sceneSettings.modelPaths, std::vector<std::string>{kData});
}

TEST(InstallationData, SampleConfigurationNamesExecutionAndSession)
{
    const std::string config = vkrsim::test::readFile(kData + "/config.txt");
    for (const char* key : {"ORVA.ORBdefaultInitRef=", "ORVA.executionName=LocalRange\n", "ORVA.sessionName=VKRsim\n",
                            "ORVA.LTP_latitude=", "ORVA.LTP_HeightOffset="}) {
        SCOPED_TRACE(key);
        EXPECT_NE(config.find(key), std::string::npos);
    }
}

}  // namespace
