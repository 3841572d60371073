// The sight scene as built, without a window: structure, looks, search path, giving up.

#include "sightfixtures.h"

#include "sightview/exchangedirectory.h"
#include "sightview/sightobjects.h"
#include "sightview/sightscene.h"
#include "support/childprocess.h"

#include <osg/Geode>
#include <osg/Geometry>
#include <osg/MatrixTransform>
#include <osg/PositionAttitudeTransform>
#include <osg/Projection>
#include <osg/ShapeDrawable>
#include <osg/TexEnv>
#include <osg/Texture2D>
#include <osgDB/Registry>
#include <osgText/Text>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace sightview;

using namespace sighttest;

namespace {

class SightScene_ : public ::testing::Test {
protected:
    void SetUp() override
    {
        models_ = scratch_.path() + "/models";
        std::filesystem::create_directory(models_);
        writeSquarePng(models_ + "/qorn_static2.png", 0, 0, 10, 10, Rgb{255, 0, 0});
        writeSquarePng(models_ + "/reticule2.png", 0, 0, 20, 20, Rgb{0, 255, 0});
        writeClearPng(models_ + "/dummy.png");
        writeBytes(models_ + "/mg.jpg", solidJpeg(Rgb{10, 20, 30}, 64, 48));
        writeSceneFile(scratch_.path(), "239.255.42.21", {models_});
        std::filesystem::remove(driveBPath("b:\\mg.jpg"));
        osgDB::Registry::instance()->setDataFilePathList(osgDB::FilePathList{"/nonexistent/first"});
        // The build tree's installation data would be searched last; only the scratch data counts.
        setenv("VKRSIM_DATA_DIR", "/nonexistent/installed", 1);
    }

    ScratchDirectory scratch_;
    std::string models_;
};

const osg::Geode* layerGeode(const osg::Projection& hud, unsigned n)
{
    auto* transform = dynamic_cast<const osg::MatrixTransform*>(hud.getChild(n));
    if (!transform || transform->getNumChildren() != 1)
        return nullptr;
    auto* position = dynamic_cast<const osg::PositionAttitudeTransform*>(transform->getChild(0));
    if (!position || position->getNumChildren() != 1)
        return nullptr;
    return dynamic_cast<const osg::Geode*>(position->getChild(0));
}

TEST_F(SightScene_, HasHudOfThreeLayersAndThePanel)
{
    const SightScene scene = buildSightScene();
    ASSERT_TRUE(scene.root.valid());
    ASSERT_TRUE(scene.clockText.valid());
    ASSERT_EQ(scene.root->getNumChildren(), 2u);
    auto* hud = dynamic_cast<osg::Projection*>(scene.root->getChild(0));
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->getMatrix(), osg::Matrixd::ortho2D(0, 512, 0, 512));
    ASSERT_EQ(hud->getNumChildren(), 3u);

    struct Layer {
        osg::Vec4 colour;
        int bin;
        unsigned drawables;
        int redTexels;  // texels of the layer's own picture at (5, 5)
    };
    const Layer layers[3] = {
        {osg::Vec4(0.8f, 0.8f, 0.8f, 0.8f), 99, 2, 255},
        {osg::Vec4(0.8f, 0.8f, 0.8f, 0.8f), 98, 1, 0},
        {osg::Vec4(0.8f, 0.8f, 0.8f, 0.1f), 97, 0, 0},
    };
    for (unsigned n = 0; n < 3; ++n) {
        SCOPED_TRACE("layer " + std::to_string(n + 1));
        auto* transform = dynamic_cast<const osg::MatrixTransform*>(hud->getChild(n));
        ASSERT_NE(transform, nullptr);
        EXPECT_EQ(transform->getReferenceFrame(), osg::Transform::ABSOLUTE_RF);
        EXPECT_TRUE(transform->getMatrix().isIdentity());
        auto* position = dynamic_cast<const osg::PositionAttitudeTransform*>(transform->getChild(0));
        ASSERT_NE(position, nullptr);
        EXPECT_EQ(position->getPosition(), osg::Vec3d(0, 1.5, 1));
        const osg::Geode* geode = layerGeode(*hud, n);
        ASSERT_NE(geode, nullptr);
        ASSERT_EQ(geode->getNumDrawables(), layers[n].drawables);

        const osg::StateSet* state = geode->getStateSet();
        ASSERT_NE(state, nullptr);
        EXPECT_EQ(state->getBinNumber(), layers[n].bin);
        EXPECT_EQ(state->getBinName(), "RenderBin");
        EXPECT_EQ(state->getRenderBinMode(), osg::StateSet::USE_RENDERBIN_DETAILS);
        EXPECT_EQ(state->getMode(GL_BLEND), osg::StateAttribute::ON);
        EXPECT_EQ(state->getMode(GL_DEPTH_TEST), osg::StateAttribute::OFF);
        if (n == 2) {
            // The clear veil of this scene changes nothing: neither drawn nor textured.
            EXPECT_EQ(state->getTextureAttribute(0, osg::StateAttribute::TEXTURE), nullptr);
            continue;
        }

        // The layer's picture, over the cells of it that can show something: vertices at z -1 in
        // HUD units, each with the texture coordinate of its place in the 512 x 512 HUD.
        auto* quads = dynamic_cast<const osg::Geometry*>(geode->getDrawable(layers[n].drawables - 1));
        ASSERT_NE(quads, nullptr);
        auto* vertices = dynamic_cast<const osg::Vec3Array*>(quads->getVertexArray());
        auto* texCoords = dynamic_cast<const osg::Vec2Array*>(quads->getTexCoordArray(0));
        ASSERT_TRUE(vertices && texCoords);
        ASSERT_EQ(texCoords->size(), vertices->size());
        ASSERT_EQ(quads->getNumPrimitiveSets(), 1u);
        auto* drawn = dynamic_cast<const osg::DrawArrays*>(quads->getPrimitiveSet(0));
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->getMode(), static_cast<GLenum>(GL_QUADS));
        EXPECT_EQ(drawn->getCount(), static_cast<GLsizei>(vertices->size()));
        osg::BoundingBox area;
        for (unsigned i = 0; i < vertices->size(); ++i) {
            EXPECT_EQ((*vertices)[i].z(), -1.0f);
            EXPECT_EQ(osg::Vec2((*vertices)[i].x(), (*vertices)[i].y()), (*texCoords)[i] * 512.0f);
            area.expandBy((*vertices)[i]);
        }
        // The squares at the corner (10 and 20 units) with a cell of margin, and their wrap to the
        // far edges; the clear middle is left out.
        EXPECT_EQ(area.xMin(), 0.0f);
        EXPECT_EQ(area.yMin(), 0.0f);
        EXPECT_LT(vertices->size(), 40u);
        auto* colours = dynamic_cast<const osg::Vec4Array*>(quads->getColorArray());
        ASSERT_NE(colours, nullptr);
        ASSERT_EQ(colours->size(), 1u);
        EXPECT_EQ((*colours)[0], layers[n].colour);
        EXPECT_EQ(colours->getBinding(), osg::Array::BIND_OVERALL);
        auto* normals = dynamic_cast<const osg::Vec3Array*>(quads->getNormalArray());
        ASSERT_NE(normals, nullptr);
        EXPECT_EQ((*normals)[0], osg::Vec3(0, 0, 1));
        EXPECT_EQ(normals->getBinding(), osg::Array::BIND_OVERALL);

        EXPECT_EQ(state->getTextureMode(0, GL_TEXTURE_2D), osg::StateAttribute::ON);
        EXPECT_EQ(state->getTextureAttribute(0, osg::StateAttribute::TEXENV), nullptr);
        auto* texture = dynamic_cast<const osg::Texture2D*>(state->getTextureAttribute(0, osg::StateAttribute::TEXTURE));
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->getDataVariance(), osg::Object::DYNAMIC);
        const osg::Image* image = texture->getImage();
        ASSERT_NE(image, nullptr) << "the layer's picture was not found along the model path";
        EXPECT_EQ(image->data(5, 5)[0], layers[n].redTexels);
    }

    // The clock: first drawable of layer 1.
    EXPECT_EQ(layerGeode(*hud, 0)->getDrawable(0), scene.clockText.get());
    EXPECT_EQ(scene.clockText->getText().createUTF8EncodedString(), "180:12:43:56.189");
    EXPECT_EQ(scene.clockText->getCharacterHeight(), 15.0f);
    EXPECT_EQ(scene.clockText->getCharacterAspectRatio(), 1.0f);
    EXPECT_EQ(scene.clockText->getAxisAlignment(), osgText::Text::SCREEN);
    EXPECT_EQ(scene.clockText->getPosition(), osg::Vec3(50, 450, -1.5f));
    EXPECT_EQ(scene.clockText->getColor(), osg::Vec4(199, 199, 15, 1));
    EXPECT_EQ(scene.clockText->getDataVariance(), osg::Object::DYNAMIC);

    // The panel: a 5 x 0.01 x 2.5 box carrying the screen texture, blended.
    auto* panelGeode = dynamic_cast<osg::Geode*>(scene.root->getChild(1));
    ASSERT_NE(panelGeode, nullptr);
    ASSERT_EQ(panelGeode->getNumDrawables(), 1u);
    auto* panel = dynamic_cast<osg::ShapeDrawable*>(panelGeode->getDrawable(0));
    ASSERT_NE(panel, nullptr);
    auto* box = dynamic_cast<const osg::Box*>(panel->getShape());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getCenter(), osg::Vec3(0, 0, 0));
    EXPECT_EQ(box->getHalfLengths() * 2.0f, osg::Vec3(5.0f, 0.01f, 2.5f));
    EXPECT_EQ(box->getDataVariance(), osg::Object::DYNAMIC);
    EXPECT_EQ(panel->getColor(), osg::Vec4(1, 1, 1, 1));
    const osg::StateSet* panelState = panelGeode->getStateSet();
    ASSERT_NE(panelState, nullptr);
    EXPECT_EQ(panelState->getTextureAttribute(0, osg::StateAttribute::TEXTURE), &screenTexture());
    EXPECT_EQ(panelState->getTextureMode(0, GL_TEXTURE_2D), osg::StateAttribute::ON);
    auto* texEnv = dynamic_cast<const osg::TexEnv*>(panelState->getTextureAttribute(0, osg::StateAttribute::TEXENV));
    ASSERT_NE(texEnv, nullptr);
    EXPECT_EQ(texEnv->getMode(), osg::TexEnv::BLEND);
    EXPECT_EQ(screenTexture().getDataVariance(), osg::Object::DYNAMIC);
    ASSERT_NE(screenTexture().getImage(), nullptr);
    EXPECT_EQ(screenTexture().getImage()->s(), 64);

    // The trackball frames the panel alone: the HUD stays out of the scene's bound.
    EXPECT_LT(scene.root->getBound().radius(), 3.0f);
}

TEST_F(SightScene_, AppendsModelPathsBehindTheRegistryPathsOnEveryBuild)
{
    const std::string second = scratch_.path() + "/second";
    std::filesystem::create_directory(second);
    // Of two model paths holding the same picture, the first listed supplies it.
    writeSquarePng(second + "/qorn_static2.png", 0, 0, 10, 10, Rgb{0, 0, 255});
    writeSceneFile(scratch_.path(), "239.255.42.21", {models_, second});

    const SightScene first = buildSightScene();
    ASSERT_TRUE(first.root.valid());
    EXPECT_EQ(osgDB::Registry::instance()->getDataFilePathList(),
              (osgDB::FilePathList{"/nonexistent/first", models_, second, "/nonexistent/installed"}));
    auto* hud = dynamic_cast<osg::Projection*>(first.root->getChild(0));
    auto* texture = dynamic_cast<const osg::Texture2D*>(
        layerGeode(*hud, 0)->getStateSet()->getTextureAttribute(0, osg::StateAttribute::TEXTURE));
    ASSERT_NE(texture->getImage(), nullptr);
    EXPECT_EQ(texture->getImage()->data(5, 5)[0], 255);

    ASSERT_TRUE(buildSightScene().root.valid());
    EXPECT_EQ(osgDB::Registry::instance()->getDataFilePathList(),
              (osgDB::FilePathList{"/nonexistent/first", models_, second, "/nonexistent/installed", models_,
                                   second, "/nonexistent/installed"}));
}

TEST_F(SightScene_, MissingOverlayLeavesItsLayerWithoutPicture)
{
    std::filesystem::remove(models_ + "/reticule2.png");
    const SightScene scene = buildSightScene();
    ASSERT_TRUE(scene.root.valid());
    auto* hud = dynamic_cast<osg::Projection*>(scene.root->getChild(0));
    auto texture = [&](unsigned n) {
        return dynamic_cast<const osg::Texture2D*>(
            layerGeode(*hud, n)->getStateSet()->getTextureAttribute(0, osg::StateAttribute::TEXTURE));
    };
    EXPECT_NE(texture(0)->getImage(), nullptr);
    ASSERT_NE(texture(1), nullptr);
    EXPECT_EQ(texture(1)->getImage(), nullptr);
    // Drawn over the whole HUD in its colour alone.
    auto* quads = dynamic_cast<const osg::Geometry*>(layerGeode(*hud, 1)->getDrawable(0));
    ASSERT_NE(quads, nullptr);
    EXPECT_EQ(quads->getVertexArray()->getNumElements(), 4u);
    EXPECT_EQ(quads->getBound().radius(), osg::Vec2(256, 256).length());
}

TEST_F(SightScene_, GivesUpWithoutFirstPanelPicture)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> mg;  // empty: no file at all
    };
    const Case cases[] = {
        {"no mg.jpg", {}},
        {"mg.jpg is no picture", {'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(models_ + "/mg.jpg");
        std::filesystem::remove(driveBPath("b:\\mg.jpg"));
        if (!c.mg.empty())
            writeBytes(models_ + "/mg.jpg", c.mg);
        ::testing::internal::CaptureStdout();
        const SightScene scene = buildSightScene();
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_FALSE(scene.root.valid());
        EXPECT_FALSE(scene.clockText.valid());
        EXPECT_EQ(out, " couldn't load texture, quitting.\n");
    }
}

TEST_F(SightScene_, SeedsDriveBFromTheInstallationDataOnce)
{
    ASSERT_TRUE(buildSightScene().root.valid());
    const std::string seeded = driveBPath("b:\\mg.jpg");
    EXPECT_EQ(vkrsim::test::readFile(seeded), vkrsim::test::readFile(models_ + "/mg.jpg"));
    // The operator's picture on drive B: is kept.
    const auto own = solidJpeg(Rgb{200, 100, 50}, 32, 32);
    writeBytes(seeded, own);
    ASSERT_TRUE(buildSightScene().root.valid());
    EXPECT_EQ(screenTexture().getImage()->s(), 32);
}

}  // namespace
