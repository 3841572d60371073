#pragma once
// The parts of a HUD overlay image that can change the window. A layer is blended over what is
// under it by its alpha, so where every texel that a pixel's filter reaches is fully transparent
// the layer leaves the pixel exactly as it was. Drawing only the other parts shows the same window
// for a fraction of the rasteriser's time: the symbology covers little of the 512 x 512 overlay.

#include <osg/Image>

#include <vector>

namespace sightview {

// [x0, x1) x [y0, y1) in texels of the image, rows counted from its first (bottom) row.
struct TexelRect {
    int x0, y0, x1, y1;
    bool operator==(const TexelRect& other) const
    {
        return x0 == other.x0 && y0 == other.y0 && x1 == other.x1 && y1 == other.y1;
    }
};

// The cells (cellSize x cellSize texels, the last row and column clipped to the image) that hold a
// texel with non-zero alpha or touch one across an edge or corner (a linear filter without mipmaps
// mixes a texel with its neighbours, wrapping around the image when the texture repeats), adjacent
// cells of a row merged into one rectangle, and rectangles over the same columns of consecutive rows
// into one. Images whose alpha cannot be read here (no alpha channel, packed or compressed
// formats) give one rectangle over the whole image; an empty image, none.
std::vector<TexelRect> visibleCells(const osg::Image& image, int cellSize);

// True when every texel of the image is the same (`texel` is then its colour, as a texture
// environment modulates by it): such a layer shows the same as an untextured quad of its colour
// times that texel, which the rasteriser draws without sampling.
bool uniformImage(const osg::Image& image, osg::Vec4& texel);

}  // namespace sightview
