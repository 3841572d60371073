#include "tools/scenegen/renderer.h"

#include "tools/scenegen/terrain.h"

#include <osg/GraphicsContext>
#include <osg/Light>

namespace scenegen {

namespace {
constexpr double kNear = 1.0;      // metres: close enough for a Platform a few metres away
constexpr double kFar = 90000.0;   // metres: past the far ground's edge
}  // namespace

Renderer::Renderer(int width, int height, osg::Node* scene) : width_(width), height_(height), image_(new osg::Image)
{
    osg::ref_ptr<osg::GraphicsContext::Traits> traits = new osg::GraphicsContext::Traits;
    traits->readDISPLAY();
    traits->setUndefinedScreenDetailsToDefaultScreen();
    traits->width = width;
    traits->height = height;
    traits->pbuffer = true;
    traits->doubleBuffer = false;
    traits->red = traits->green = traits->blue = 8;
    traits->alpha = 0;  // an alpha channel gave BadMatch on Xvfb's visuals
    traits->depth = 24;
    osg::ref_ptr<osg::GraphicsContext> context = osg::GraphicsContext::createGraphicsContext(traits.get());
    if (!context || !context->valid())
        throw std::runtime_error("no offscreen OpenGL context (pbuffer) of " + std::to_string(width) + "x" +
                                 std::to_string(height) + " on display \"" + traits->displayName() + "\"");

    viewer_.setThreadingModel(osgViewer::Viewer::SingleThreaded);
    // The viewer's own key and window handlers have nothing to do offscreen.
    viewer_.setKeyEventSetsDone(0);
    osg::Camera* camera = viewer_.getCamera();
    camera->setGraphicsContext(context.get());
    camera->setViewport(0, 0, width, height);
    camera->setClearColor(osg::Vec4(kSky.r, kSky.g, kSky.b, 1.0f));
    camera->setComputeNearFarMode(osg::CullSettings::DO_NOT_COMPUTE_NEAR_FAR);
    camera->setDrawBuffer(GL_FRONT);  // single-buffered pbuffer
    camera->setReadBuffer(GL_FRONT);
    image_->allocateImage(width, height, 1, GL_RGB, GL_UNSIGNED_BYTE);
    camera->attach(osg::Camera::COLOR_BUFFER, image_.get());

    // A sun high in the south-west of the frame, fixed in the scene, so slopes shade by direction.
    viewer_.setLightingMode(osg::View::SKY_LIGHT);
    osg::Light* sun = viewer_.getLight();
    sun->setPosition(osg::Vec4(-0.45f, -0.55f, 0.70f, 0.0f));
    sun->setAmbient(osg::Vec4(0.45f, 0.45f, 0.45f, 1.0f));
    sun->setDiffuse(osg::Vec4(0.75f, 0.75f, 0.72f, 1.0f));

    viewer_.setSceneData(scene);
    viewer_.realize();
}

const osg::Image& Renderer::render(const View& view)
{
    const Camera c = cameraFor(view, static_cast<double>(width_) / height_);
    osg::Camera* camera = viewer_.getCamera();
    camera->setProjectionMatrixAsPerspective(c.verticalFovDegrees, static_cast<double>(width_) / height_, kNear,
                                             kFar);
    camera->setViewMatrixAsLookAt(osg::Vec3d(c.eye[0], c.eye[1], c.eye[2]),
                                  osg::Vec3d(c.centre[0], c.centre[1], c.centre[2]),
                                  osg::Vec3d(c.up[0], c.up[1], c.up[2]));
    viewer_.frame();
    return *image_;
}

}  // namespace scenegen
