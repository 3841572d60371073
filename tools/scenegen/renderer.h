#pragma once
// Offscreen rendering of a scene into an RGB image: a pbuffer on the X display of $DISPLAY
// (Xvfb with Mesa here, a GPU's driver where there is one); no window is shown.

#include "tools/scenegen/view.h"

#include <osg/Image>
#include <osg/Node>
#include <osg/ref_ptr>
#include <osgViewer/Viewer>

#include <stdexcept>

namespace scenegen {

class Renderer {
public:
    // Raises std::runtime_error when the display gives no pbuffer of that size.
    Renderer(int width, int height, osg::Node* scene);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Draws the scene from `view` and reads the picture back: RGB, rows bottom to top.
    const osg::Image& render(const View& view);

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    osg::ref_ptr<osg::Image> image_;
    osgViewer::Viewer viewer_;
};

}  // namespace scenegen
