#pragma once
// The sight scene: a head-up overlay of three full-window image layers (layer 1 on top, with the
// clock text) over a thin textured panel that shows the received pictures.

#include <osg/Group>
#include <osg/ref_ptr>
#include <osgText/Text>

namespace sightview {

struct SightScene {
    osg::ref_ptr<osg::Group> root;           // HUD projection, then the screen panel geode
    osg::ref_ptr<osgText::Text> clockText;   // rewritten by the frame loop (render thread)
};

}  // namespace sightview

// Reads the scene configuration, appends its model paths to the image search path and builds
// the scene. Gives up (root and clockText null) when the first panel picture "b:\mg.jpg" can't
// be read, after writing " couldn't load texture, quitting." to standard output.
// Render thread only, before any window exists.
sightview::SightScene buildSightScene();

namespace sightview {

// The HUD's coordinate space: 512 x 512 units over the whole viewport.
inline constexpr double kHudSize = 512.0;

// Render bin numbers of the HUD layers 1, 2, 3; the highest is drawn last, on top.
inline constexpr int kLayerBins[3] = {99, 98, 97};

}  // namespace sightview
