// Which cells of a HUD overlay are drawn: everything a pixel's filter can see of a visible texel.

#include "sightview/overlaycells.h"

#include <gtest/gtest.h>

#include <random>

using sightview::TexelRect;

namespace {

osg::ref_ptr<osg::Image> clearImage(int width, int height, GLenum format = GL_RGBA)
{
    osg::ref_ptr<osg::Image> image = new osg::Image;
    image->allocateImage(width, height, 1, format, GL_UNSIGNED_BYTE);
    std::fill(image->data(), image->data() + image->getTotalSizeInBytes(), 0);
    return image;
}

void setAlpha(osg::Image& image, int x, int y, unsigned char alpha) { image.data(x, y)[3] = alpha; }

bool covered(const std::vector<TexelRect>& rects, int x, int y)
{
    for (const TexelRect& r : rects)
        if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1)
            return true;
    return false;
}

}  // namespace

TEST(OverlayCells, CellsOfAVisibleTexelAndItsNeighboursOnly)
{
    osg::ref_ptr<osg::Image> image = clearImage(64, 64);
    EXPECT_TRUE(sightview::visibleCells(*image, 8).empty());

    setAlpha(*image, 20, 20, 1);
    EXPECT_EQ(sightview::visibleCells(*image, 8), (std::vector<TexelRect>{{16, 16, 24, 24}}));

    // On a cell corner the neighbours reach three more cells: one rectangle.
    image = clearImage(64, 64);
    setAlpha(*image, 24, 24, 255);
    EXPECT_EQ(sightview::visibleCells(*image, 8), (std::vector<TexelRect>{{16, 16, 32, 32}}));
    // Runs over different columns stay apart.
    setAlpha(*image, 33, 31, 255);
    EXPECT_EQ(sightview::visibleCells(*image, 8),
              (std::vector<TexelRect>{{16, 16, 32, 24}, {16, 24, 40, 32}, {32, 32, 40, 40}}));

    // At the image's edge the filter may wrap to the opposite edge; the last cell is clipped.
    image = clearImage(60, 16);
    setAlpha(*image, 0, 3, 9);
    EXPECT_EQ(sightview::visibleCells(*image, 8), (std::vector<TexelRect>{{0, 0, 8, 8}, {56, 0, 60, 8}}));
}

TEST(OverlayCells, EveryTexelNextToAVisibleOneIsDrawn)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const int width = 1 + static_cast<int>(random() % 90);
        const int height = 1 + static_cast<int>(random() % 90);
        osg::ref_ptr<osg::Image> image = clearImage(width, height);
        for (int n = static_cast<int>(random() % 12); n > 0; --n)
            setAlpha(*image, static_cast<int>(random() % static_cast<unsigned>(width)),
                     static_cast<int>(random() % static_cast<unsigned>(height)), 1 + random() % 255);
        const int cell = 1 + static_cast<int>(random() % 16);
        const std::vector<TexelRect> rects = sightview::visibleCells(*image, cell);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (image->data(x, y)[3] == 0)
                    continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < width && ny < height) {
                            ASSERT_TRUE(covered(rects, nx, ny))
                                << width << "x" << height << " cell " << cell << " texel " << x << "," << y;
                        }
                    }
            }
        for (const TexelRect& r : rects)
            ASSERT_TRUE(r.x0 < r.x1 && r.y0 < r.y1 && r.x0 >= 0 && r.y0 >= 0 && r.x1 <= width && r.y1 <= height);
    }
}

TEST(OverlayCells, ImagesWithoutAlphaAreDrawnWholeAndUniformOnesAreFound)
{
    osg::ref_ptr<osg::Image> rgb = clearImage(32, 16, GL_RGB);
    EXPECT_EQ(sightview::visibleCells(*rgb, 8), (std::vector<TexelRect>{{0, 0, 32, 16}}));

    osg::Vec4 texel;
    osg::ref_ptr<osg::Image> veil = clearImage(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            setAlpha(*veil, x, y, 51);
    ASSERT_TRUE(sightview::uniformImage(*veil, texel));
    EXPECT_FLOAT_EQ(texel.a(), 0.2f);
    EXPECT_FLOAT_EQ(texel.r(), 0.0f);
    setAlpha(*veil, 31, 15, 52);
    EXPECT_FALSE(sightview::uniformImage(*veil, texel));
}
