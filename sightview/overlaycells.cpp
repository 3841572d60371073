#include "sightview/overlaycells.h"

#include <cstdint>
#include <cstring>
#include <algorithm>

namespace sightview {

namespace {

// Byte offset of the alpha within a pixel, and the bytes per alpha value; 0 bytes when the format
// has no alpha this reader knows.
struct AlphaLayout {
    unsigned offset = 0;
    unsigned bytes = 0;
};

AlphaLayout alphaLayout(const osg::Image& image)
{
    unsigned channelBytes = 0;
    switch (image.getDataType()) {
    case GL_UNSIGNED_BYTE: channelBytes = 1; break;
    case GL_UNSIGNED_SHORT: channelBytes = 2; break;
    case GL_FLOAT: channelBytes = 4; break;
    default: return {};
    }
    switch (image.getPixelFormat()) {
    case GL_RGBA:
    case GL_BGRA: return {3 * channelBytes, channelBytes};
    case GL_LUMINANCE_ALPHA: return {channelBytes, channelBytes};
    case GL_ALPHA: return {0, channelBytes};
    default: return {};
    }
}

bool transparent(const unsigned char* alpha, unsigned bytes)
{
    // Any set bit is a visible alpha, a float's -0.0 included (the conservative side).
    for (unsigned i = 0; i < bytes; ++i)
        if (alpha[i] != 0)
            return false;
    return true;
}

}  // namespace

std::vector<TexelRect> visibleCells(const osg::Image& image, int cellSize)
{
    const int width = image.s();
    const int height = image.t();
    if (width <= 0 || height <= 0 || !image.data() || cellSize <= 0)
        return {};
    const AlphaLayout layout = alphaLayout(image);
    if (layout.bytes == 0 || image.r() != 1)
        return {TexelRect{0, 0, width, height}};

    const int columns = (width + cellSize - 1) / cellSize;
    const int rows = (height + cellSize - 1) / cellSize;
    // A pixel of a cell is filtered from the texels of the cell and the one texel around it (a
    // linear filter without mipmaps), wrapping across the image's edge when the texture repeats:
    // a visible texel makes the cells of its eight neighbours needed too. Counting the wrap always
    // is never wrong.
    std::vector<std::uint8_t> needed(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    const unsigned pixelBytes = image.getPixelSizeInBits() / 8;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = image.data(0, y);
        for (int x = 0; x < width; ++x) {
            if (transparent(row + static_cast<std::size_t>(x) * pixelBytes + layout.offset, layout.bytes))
                continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int cx = ((x + dx + width) % width) / cellSize;
                    const int cy = ((y + dy + height) % height) / cellSize;
                    needed[static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(cx)] = 1;
                }
        }
    }
    auto isNeeded = [&](int cx, int cy) {
        return needed[static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(cx)] != 0;
    };

    // Runs of needed cells along each row; a run over the same columns as one of the row below
    // extends that rectangle upwards instead of making another.
    std::vector<TexelRect> rects;
    std::size_t belowFirst = 0;
    for (int cy = 0; cy < rows; ++cy) {
        const int y0 = cy * cellSize;
        const int y1 = std::min(height, y0 + cellSize);
        const std::size_t rowFirst = rects.size();
        for (int cx = 0; cx < columns;) {
            if (!isNeeded(cx, cy)) {
                ++cx;
                continue;
            }
            const int first = cx;
            while (cx < columns && isNeeded(cx, cy))
                ++cx;
            const int x0 = first * cellSize;
            const int x1 = std::min(width, cx * cellSize);
            bool merged = false;
            for (std::size_t i = belowFirst; i < rowFirst && !merged; ++i)
                if (rects[i].x0 == x0 && rects[i].x1 == x1 && rects[i].y1 == y0) {
                    rects[i].y1 = y1;
                    merged = true;
                }
            if (!merged)
                rects.push_back(TexelRect{x0, y0, x1, y1});
        }
        // Only rectangles that reach this row's top can be extended by the next row: they go last.
        std::stable_partition(rects.begin() + static_cast<std::ptrdiff_t>(belowFirst), rects.end(),
                              [y1](const TexelRect& r) { return r.y1 != y1; });
        belowFirst = static_cast<std::size_t>(
            std::find_if(rects.begin() + static_cast<std::ptrdiff_t>(belowFirst), rects.end(),
                         [y1](const TexelRect& r) { return r.y1 == y1; }) - rects.begin());
    }
    return rects;
}

bool uniformImage(const osg::Image& image, osg::Vec4& texel)
{
    const unsigned bits = image.getPixelSizeInBits();
    if (image.s() <= 0 || image.t() <= 0 || image.r() != 1 || !image.data() || bits == 0 || bits % 8 != 0 ||
        image.isCompressed())
        return false;
    const std::size_t pixelBytes = bits / 8;
    const unsigned char* first = image.data(0, 0);
    for (int y = 0; y < image.t(); ++y) {
        const unsigned char* row = image.data(0, y);
        for (int x = 0; x < image.s(); ++x)
            if (std::memcmp(row + static_cast<std::size_t>(x) * pixelBytes, first, pixelBytes) != 0)
                return false;
    }
    texel = image.getColor(0, 0);
    return true;
}

}  // namespace sightview
