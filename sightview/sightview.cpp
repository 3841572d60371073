#include "sightview/sightview.h"

#include <osg/Viewport>
#include <osgGA/StateSetManipulator>

namespace sightview {

Frustum frustumForAspect(const Frustum& frustum, double aspect)
{
    Frustum result = frustum;
    const double scale = (frustum.top - frustum.bottom) * aspect / (frustum.right - frustum.left);
    result.left *= scale;
    result.right *= scale;
    return result;
}

}  // namespace sightview

using namespace sightview;

osg::ref_ptr<osgViewer::View> createSightView(osgViewer::CompositeViewer& viewer,
                                              const osg::ref_ptr<osg::Node>& sceneRoot,
                                              const osg::ref_ptr<osg::GraphicsContext>& gc,
                                              osgGA::CameraManipulator* manipulator, int x, int y,
                                              int width, int height)
{
    osg::ref_ptr<osgViewer::View> view = new osgViewer::View;
    viewer.addView(view);
    view->setCameraManipulator(manipulator);
    view->setSceneData(sceneRoot);

    osg::Camera* camera = view->getCamera();
    camera->setViewport(new osg::Viewport(x, y, width, height));
    Frustum f{};
    camera->getProjectionMatrixAsFrustum(f.left, f.right, f.bottom, f.top, f.zNear, f.zFar);
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    f = frustumForAspect(f, aspect);
    camera->setProjectionMatrixAsFrustum(f.left, f.right, f.bottom, f.top, f.zNear, f.zFar);
    camera->setGraphicsContext(gc.get());

    osg::ref_ptr<osgGA::StateSetManipulator> stateSetManipulator = new osgGA::StateSetManipulator;
    stateSetManipulator->setStateSet(camera->getOrCreateStateSet());
    view->addEventHandler(stateSetManipulator);
    return view;
}
