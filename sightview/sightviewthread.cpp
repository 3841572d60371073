#include "sightview/sightviewthread.h"

#include "stateblock/stateblock.h"
#include "sightview/sightclock.h"
#include "sightview/sightobjects.h"
#include "sightview/sightscene.h"
#include "sightview/sightview.h"
#include "sightview/snapimage.h"

#include <osg/GraphicsContext>
#include <osg/Notify>

#include <ctime>

using namespace sightview;

namespace {

// A render thread that ended leaves its view in the viewer and the viewer done; neither may
// carry over into a new start.
void forgetPreviousView(osgViewer::CompositeViewer& viewer)
{
    osg::ref_ptr<osgViewer::View>& previous = sightViewHolder();
    if (previous) {
        viewer.stopThreading();
        currentSightView.store(nullptr);
        viewer.removeView(previous);
        previous = nullptr;
    }
    viewer.setDone(false);
}

// The window of a loop that ended (stop request or the viewer's quit key) closes with it; one the
// operator closed is closed already.
void closeWindow(osgViewer::CompositeViewer& viewer, osg::GraphicsContext* gc)
{
    viewer.stopThreading();
    if (gc && gc->valid())
        gc->close();
}

osg::ref_ptr<osg::GraphicsContext::Traits> sightWindowTraits()
{
    osg::ref_ptr<osg::GraphicsContext::Traits> traits = new osg::GraphicsContext::Traits;
    // The X display comes from $DISPLAY (host and display number); the screen is always 0.
    traits->readDISPLAY();
    traits->screenNum = 0;
    traits->x = 500;
    traits->y = 30;
    traits->width = 1000;
    traits->height = 1000;
    traits->windowDecoration = true;
    traits->doubleBuffer = true;
    traits->sharedContext = nullptr;
    return traits;
}

}  // namespace

ACE_THR_FUNC_RETURN sightViewThread(void*)
{
    SightScene scene = buildSightScene();
    if (!scene.root)
        return 0;

    osgViewer::CompositeViewer& viewer = sightViewer();
    osgGA::TrackballManipulator& trackball = sightTrackball();
    forgetPreviousView(viewer);

    osg::ref_ptr<osg::GraphicsContext::Traits> traits = sightWindowTraits();
    osg::ref_ptr<osg::GraphicsContext> gc = osg::GraphicsContext::createGraphicsContext(traits.get());
    if (gc.valid()) {
        osg::notify(osg::INFO) << "  GraphicsWindow has been created successfully." << std::endl;
        gc->setClearColor(osg::Vec4f(0.2f, 0.2f, 0.6f, 1.0f));
        gc->setClearMask(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        osg::notify(osg::NOTICE) << "  GraphicsWindow has not been created successfully." << std::endl;
    }

    trackball.setDataVariance(osg::Object::DYNAMIC);
    osg::ref_ptr<osgViewer::View> view =
        createSightView(viewer, scene.root, gc, &trackball, 0, 0, traits->width, traits->height);
    sightViewHolder() = view;
    currentSightView.store(view.get());
    view->setDataVariance(osg::Object::DYNAMIC);
    viewer.setDataVariance(osg::Object::DYNAMIC);

    std::time_t currentTime = std::time(nullptr);
    std::tm localTime{};
    localtime_r(&currentTime, &localTime);
    int frameCounter = 0;
    SightClockBuffer clockBuffer{};

    // realize() would otherwise pin this thread (and every thread it starts later) to one core.
    viewer.setUseConfigureAffinity(false);
    viewer.realize();
    view->getCamera()->setPreDrawCallback(new SnapImage);

    while (!viewer.done()) {
        if (frameCounter % 5 == 0) {
            currentTime = std::time(nullptr);
            localtime_r(&currentTime, &localTime);
            scene.clockText->setText(formatSightClock(localTime, frameCounter, clockBuffer));
        }
        if (stateBlock.stopRender)
            viewer.setDone(true);
        viewer.frame();
        frameCounter = nextFrameCounter(frameCounter);
    }

    closeWindow(viewer, gc.get());
    return 0;
}
