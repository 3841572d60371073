#pragma once
// The one view of the sight window.

#include <osg/GraphicsContext>
#include <osg/Node>
#include <osg/ref_ptr>
#include <osgGA/CameraManipulator>
#include <osgViewer/CompositeViewer>
#include <osgViewer/View>

// Adds a view of `sceneRoot` to `viewer`, steered by `manipulator` alone (plus a state-set
// manipulator on the camera's state set), drawing into `gc` over the viewport (x, y, width,
// height) in pixels. The projection is widened to the viewport's aspect; its vertical field of
// view stays as it was.
osg::ref_ptr<osgViewer::View> createSightView(osgViewer::CompositeViewer& viewer,
                                              const osg::ref_ptr<osg::Node>& sceneRoot,
                                              const osg::ref_ptr<osg::GraphicsContext>& gc,
                                              osgGA::CameraManipulator* manipulator, int x, int y,
                                              int width, int height);

// Frustum (left, right, bottom, top, near, far) widened or narrowed across so that its width
// over its height equals the viewport's `aspect`; bottom, top, near and far are unchanged.
namespace sightview {

struct Frustum {
    double left, right, bottom, top, zNear, zFar;
};
Frustum frustumForAspect(const Frustum& frustum, double aspect);

}  // namespace sightview
