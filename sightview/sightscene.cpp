#include "sightview/sightscene.h"

#include "data/installeddata.h"
#include "sightview/exchangedirectory.h"
#include "sightview/overlaycells.h"
#include "sightview/sightobjects.h"
#include "sightview/scenesettings.h"

#include <osg/Geode>
#include <osg/Geometry>
#include <osg/MatrixTransform>
#include <osg/PositionAttitudeTransform>
#include <osg/Projection>
#include <osg/Shape>
#include <osg/ShapeDrawable>
#include <osg/TexEnv>
#include <osg/Texture2D>
#include <osgDB/ReadFile>
#include <osgDB/Registry>

#include <iostream>
#include <utility>
#include <vector>

using namespace sightview;

namespace {

struct LayerLook {
    const char* imageFile;
    osg::Vec4 colour;
};

// Layer 1: static sight symbology (and the clock); layer 2: reticle; layer 3: a nearly clear veil.
const LayerLook kLayers[3] = {
    {"qorn_static2.png", osg::Vec4(0.8f, 0.8f, 0.8f, 0.8f)},
    {"reticule2.png", osg::Vec4(0.8f, 0.8f, 0.8f, 0.8f)},
    {"dummy.png", osg::Vec4(0.8f, 0.8f, 0.8f, 0.1f)},
};

// Cells of 4 x 4 texels (8 x 8 pixels in the window): close around the symbology's thin lines, and
// still only some dozens of rectangles once merged.
constexpr int kOverlayCell = 4;

void extendSearchPath()
{
    osgDB::Registry* registry = osgDB::Registry::instance();
    osgDB::FilePathList paths = registry->getDataFilePathList();
    readSceneSettings();
    for (const std::string& path : sceneSettings.modelPaths)
        paths.push_back(path);
    if (const std::string installed = installedDataDirectory(); !installed.empty())
        paths.push_back(installed);
    registry->setDataFilePathList(paths);
}

void setUpClock(osgText::Text& clock)
{
    clock.setCharacterSize(15.0f, 1.0f);
    clock.setFont("Arcade_Interlaced.ttf");
    clock.setText("180:12:43:56.189");
    clock.setAxisAlignment(osgText::Text::SCREEN);
    clock.setPosition(osg::Vec3(50.0f, 450.0f, -1.5f));
    // Passed as these four numbers, not scaled to 0..1: each channel saturates, so it draws white.
    clock.setColor(osg::Vec4(199.0f, 199.0f, 15.0f, 1.0f));
    // The frame loop rewrites the text while the drawing thread may draw the previous one.
    clock.setDataVariance(osg::Object::DYNAMIC);
}

// The layer's quad over the whole HUD, textured by `image`, cut down to the cells of the image
// that can show something. Without an image the layer is its colour alone, over the whole HUD.
osg::ref_ptr<osg::Geometry> overlayQuads(const osg::Image* image, const osg::Vec4& colour)
{
    const int width = image ? image->s() : 1;
    const int height = image ? image->t() : 1;
    std::vector<TexelRect> rects = {TexelRect{0, 0, width, height}};
    if (image)
        rects = visibleCells(*image, kOverlayCell);
    osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
    osg::ref_ptr<osg::Vec2Array> texCoords = new osg::Vec2Array;
    for (const TexelRect& r : rects) {
        const float u[2] = {static_cast<float>(r.x0) / static_cast<float>(width), static_cast<float>(r.x1) / static_cast<float>(width)};
        const float v[2] = {static_cast<float>(r.y0) / static_cast<float>(height), static_cast<float>(r.y1) / static_cast<float>(height)};
        for (const auto& [i, j] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}, std::pair{0, 1}}) {
            vertices->push_back(osg::Vec3(u[i] * static_cast<float>(kHudSize), v[j] * static_cast<float>(kHudSize), -1.0f));
            texCoords->push_back(osg::Vec2(u[i], v[j]));
        }
    }
    osg::ref_ptr<osg::Vec4Array> colours = new osg::Vec4Array;
    colours->push_back(colour);
    osg::ref_ptr<osg::Vec3Array> normals = new osg::Vec3Array;
    normals->push_back(osg::Vec3(0.0f, 0.0f, 1.0f));

    osg::ref_ptr<osg::Geometry> quads = new osg::Geometry;
    quads->setVertexArray(vertices);
    quads->setTexCoordArray(0, texCoords);
    quads->setNormalArray(normals, osg::Array::BIND_OVERALL);
    quads->setColorArray(colours, osg::Array::BIND_OVERALL);
    quads->addPrimitiveSet(new osg::DrawArrays(osg::PrimitiveSet::QUADS, 0, static_cast<GLsizei>(vertices->size())));
    return quads;
}

}  // namespace

sightview::SightScene buildSightScene()
{
    SightScene scene;
    scene.clockText = new osgText::Text;
    scene.root = new osg::Group;

    extendSearchPath();

    osg::ref_ptr<osg::Geode> layerGeodes[3];
    for (auto& geode : layerGeodes)
        geode = new osg::Geode;
    osg::ref_ptr<osg::Projection> hud = new osg::Projection;
    hud->setMatrix(osg::Matrixd::ortho2D(0.0, kHudSize, 0.0, kHudSize));
    osg::ref_ptr<osg::MatrixTransform> layerTransforms[3];
    for (auto& transform : layerTransforms) {
        transform = new osg::MatrixTransform;
        transform->setMatrix(osg::Matrix::identity());
        // Detached from the camera's view matrix, and outside the bound the trackball frames.
        transform->setReferenceFrame(osg::Transform::ABSOLUTE_RF);
    }
    scene.root->addChild(hud);
    for (auto& transform : layerTransforms)
        hud->addChild(transform);

    for (int n = 0; n < 3; ++n) {
        osg::ref_ptr<osg::PositionAttitudeTransform> position = new osg::PositionAttitudeTransform;
        position->setPosition(osg::Vec3d(0.0, 1.5, 1.0));
        layerTransforms[n]->addChild(position);
        position->addChild(layerGeodes[n]);
    }

    layerGeodes[0]->addDrawable(scene.clockText);
    setUpClock(*scene.clockText);

    osg::ref_ptr<osg::StateSet> layerStates[3];
    for (int n = 0; n < 3; ++n) {
        layerStates[n] = new osg::StateSet;
        layerGeodes[n]->setStateSet(layerStates[n]);
        layerStates[n]->setMode(GL_BLEND, osg::StateAttribute::ON);
        // A missing or undecodable overlay leaves the texture without an image: the quad is then
        // drawn in its colour alone.
        osg::ref_ptr<osg::Image> image = osgDB::readImageFile(kLayers[n].imageFile);
        osg::Vec4 texel;
        if (image && uniformImage(*image, texel)) {
            // One colour all over (a veil): the texture would add nothing but the sampling. Lighting
            // the colour times the texel gives what the texture made of the lit colour, as the lit
            // layer colours stay below saturation.
            // A clear one changes nothing and is not drawn at all.
            if (texel.a() > 0.0f)
                layerGeodes[n]->addDrawable(overlayQuads(nullptr, osg::componentMultiply(kLayers[n].colour, texel)));
            continue;
        }
        osg::ref_ptr<osg::Texture2D> texture = new osg::Texture2D;
        texture->setDataVariance(osg::Object::DYNAMIC);
        texture->setImage(image);
        // The overlays are magnified onto the window, where a mipmap is never sampled; without one
        // a pixel's filter reaches only the texels next to it (see overlaycells.h).
        texture->setFilter(osg::Texture::MIN_FILTER, osg::Texture::LINEAR);
        texture->setFilter(osg::Texture::MAG_FILTER, osg::Texture::LINEAR);
        layerStates[n]->setTextureAttributeAndModes(0, texture, osg::StateAttribute::ON);
        layerGeodes[n]->addDrawable(overlayQuads(image.get(), kLayers[n].colour));
    }
    for (auto& state : layerStates) {
        state->setMode(GL_DEPTH_TEST, osg::StateAttribute::OFF);
        state->setRenderingHint(osg::StateSet::TRANSPARENT_BIN);
    }
    for (int n = 0; n < 3; ++n)
        layerStates[n]->setRenderBinDetails(kLayerBins[n], "RenderBin", osg::StateSet::USE_RENDERBIN_DETAILS);

    osg::ref_ptr<osg::Box> box = new osg::Box(osg::Vec3(0.0f, 0.0f, 0.0f), 5.0f, 0.01f, 2.5f);
    box->setDataVariance(osg::Object::DYNAMIC);
    // The raw-pointer constructor: the ref_ptr one leaves the drawable's colour unset (black).
    osg::ref_ptr<osg::ShapeDrawable> panel = new osg::ShapeDrawable(box.get());
    osg::ref_ptr<osg::Geode> panelGeode = new osg::Geode;
    panelGeode->addDrawable(panel);
    scene.root->addChild(panelGeode);

    osg::Texture2D& texture = screenTexture();
    texture.setDataVariance(osg::Object::DYNAMIC);
    // Received pictures are 640 x 480 and the like: upload them as they are instead of scaling
    // every picture to a power of two on the CPU.
    texture.setResizeNonPowerOfTwoHint(false);
    // A new picture every frame: filter without mipmaps, which would be rebuilt for each one.
    texture.setFilter(osg::Texture::MIN_FILTER, osg::Texture::LINEAR);
    texture.setFilter(osg::Texture::MAG_FILTER, osg::Texture::LINEAR);
    seedFirstPanelPicture();
    const std::string firstPicture = driveBPath("b:\\mg.jpg");
    osg::ref_ptr<osg::Image> image = firstPicture.empty() ? nullptr : osgDB::readImageFile(firstPicture);
    if (!image) {
        std::cout << " couldn't load texture, quitting." << std::endl;
        return {};
    }
    texture.setImage(image);

    osg::ref_ptr<osg::StateSet> panelState = new osg::StateSet;
    osg::ref_ptr<osg::TexEnv> texEnv = new osg::TexEnv;
    texEnv->setMode(osg::TexEnv::BLEND);
    panelState->setTextureAttributeAndModes(0, &texture, osg::StateAttribute::ON);
    panelState->setTextureAttribute(0, texEnv);
    // The feed replaces the texture's image inside the drawing of each frame.
    panelState->setDataVariance(osg::Object::DYNAMIC);
    panelGeode->setStateSet(panelState);
    return scene;
}
