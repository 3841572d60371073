#pragma once
// The renderer's process-wide objects. They are made before main runs and are never destroyed:
// a render thread may still be inside a frame when the process exits, so no destructor may pull
// the viewer, the texture or the scene away from under it.

#include <osg/Texture2D>
#include <osg/ref_ptr>
#include <osgGA/TrackballManipulator>
#include <osgViewer/CompositeViewer>
#include <osgViewer/View>

#include <atomic>

// The screen panel's texture. Its image is replaced by the multicast feed in the drawing thread
// of each frame.
osg::Texture2D& screenTexture();

namespace sightview {

// Runs the frames of the sight window; holds the one view. Render thread only.
osgViewer::CompositeViewer& sightViewer();

// The view's camera manipulator. Render thread only.
osgGA::TrackballManipulator& sightTrackball();

// The view of the running (or last) render thread; written by the render thread when it creates
// its view, kept until the next render thread replaces it.
osg::ref_ptr<osgViewer::View>& sightViewHolder();

// The same view for observers on other threads (tests, benchmarks); null before the first view.
// Valid until the next render thread replaces the view.
extern std::atomic<osgViewer::View*> currentSightView;

}  // namespace sightview
