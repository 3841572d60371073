// Draws the sight view's installation pictures into a directory:
//   qorn_static2.png  static sight symbology: frame, azimuth and elevation scales, corner marks
//   reticule2.png     the reticle: broken cross, centre ring, range marks
//   dummy.png         a nearly transparent veil
//   mg.jpg            the first panel picture, a 640 x 480 test card
// The overlays are 512 x 512 RGBA, one texel per unit of the 512-unit HUD; everything that is
// not symbology is fully transparent.   Usage: vkrsim_makedata OUTPUT-DIRECTORY

#include "codec/jpegcodec.h"

#include <osg/Image>
#include <osgDB/WriteFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>

namespace {

struct Rgba {
    std::uint8_t r, g, b, a;
};

class Canvas {
public:
    Canvas(int width, int height, Rgba fill) : image_(new osg::Image)
    {
        image_->allocateImage(width, height, 1, GL_RGBA, GL_UNSIGNED_BYTE);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                plot(x, y, fill);
    }
    int width() const { return image_->s(); }
    int height() const { return image_->t(); }

    // Origin bottom left, as in the HUD and in OpenGL texture rows.
    void plot(int x, int y, Rgba c)
    {
        if (x < 0 || y < 0 || x >= width() || y >= height())
            return;
        std::uint8_t* p = image_->data(x, y);
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    }
    void fillRect(int x0, int y0, int x1, int y1, Rgba c)
    {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
                plot(x, y, c);
    }
    // Axis-parallel line `thickness` texels wide.
    void hline(int x0, int x1, int y, int thickness, Rgba c) { fillRect(x0, y, x1, y + thickness - 1, c); }
    void vline(int x, int y0, int y1, int thickness, Rgba c) { fillRect(x, y0, x + thickness - 1, y1, c); }
    void ring(int cx, int cy, double radius, double thickness, Rgba c)
    {
        const int extent = static_cast<int>(radius + thickness) + 1;
        for (int y = cy - extent; y <= cy + extent; ++y)
            for (int x = cx - extent; x <= cx + extent; ++x) {
                const double d = std::hypot(x - cx, y - cy);
                if (std::abs(d - radius) <= thickness / 2.0)
                    plot(x, y, c);
            }
    }
    osg::Image* image() { return image_.get(); }

private:
    osg::ref_ptr<osg::Image> image_;
};

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kSymbology{90, 255, 110, 255};
constexpr Rgba kReticle{255, 240, 200, 255};

void drawSymbology(Canvas& c)
{
    // Frame of the field of view, inset from the window edge.
    c.hline(24, 487, 24, 3, kSymbology);
    c.hline(24, 487, 485, 3, kSymbology);
    c.vline(24, 24, 487, 3, kSymbology);
    c.vline(485, 24, 487, 3, kSymbology);
    // Azimuth scale above the bottom edge: a tick every 16 units, long ones every 64. The top
    // left stays clear for the clock.
    for (int x = 48; x <= 464; x += 16)
        c.vline(x, 28, (x - 256) % 64 == 0 ? 62 : 48, 2, kSymbology);
    // Elevation scale inside the right edge, likewise.
    for (int y = 48; y <= 464; y += 16)
        c.hline((y - 256) % 64 == 0 ? 450 : 464, 483, y, 2, kSymbology);
    // Azimuth pointer, a notch above the centre of the scale.
    for (int i = 0; i < 10; ++i)
        c.hline(256 - i, 256 + i, 70 + i, 1, kSymbology);
    // Corner marks of the inner tracking window.
    const int corners[4][2] = {{160, 160}, {352, 160}, {160, 352}, {352, 352}};
    for (const auto& k : corners) {
        const int dx = k[0] < 256 ? 1 : -1;
        const int dy = k[1] < 256 ? 1 : -1;
        c.hline(std::min(k[0], k[0] + 24 * dx), std::max(k[0], k[0] + 24 * dx), k[1], 2, kSymbology);
        c.vline(k[0], std::min(k[1], k[1] + 24 * dy), std::max(k[1], k[1] + 24 * dy), 2, kSymbology);
    }
}

void drawReticle(Canvas& c)
{
    // Broken cross: the centre stays clear so the target is not hidden.
    c.hline(176, 244, 255, 2, kReticle);
    c.hline(268, 336, 255, 2, kReticle);
    c.vline(255, 176, 244, 2, kReticle);
    c.vline(255, 268, 336, 2, kReticle);
    c.ring(256, 256, 6.0, 2.0, kReticle);
    // Range marks under the centre.
    for (int i = 1; i <= 4; ++i)
        c.hline(248 - 3 * i, 264 + 3 * i, 230 - 14 * i, 2, kReticle);
}

// 640 x 480 test card: colour bars over a grey ramp with a grid, so that orientation, colour
// and scaling of the panel can be judged at a glance.
bool writeTestCard(const std::string& path)
{
    codec::Image card;
    if (!card.reshape(640, 480, 3))
        return false;
    const std::uint8_t bars[7][3] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                                     {235, 16, 235},  {235, 16, 16},  {16, 16, 235}};
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint8_t* p = card.pixels() + (static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)) * 3;
            if (y < 320) {
                const auto* bar = bars[std::min(6, x * 7 / 640)];
                std::copy(bar, bar + 3, p);
            } else {
                const auto grey = static_cast<std::uint8_t>(x * 255 / 639);
                p[0] = p[1] = p[2] = grey;
            }
            if (x % 80 == 0 || y % 80 == 0)
                p[0] = p[1] = p[2] = 0;
        }
    return codec::writeJpegFile(card, path);
}

bool writePng(Canvas& canvas, const std::string& path)
{
    if (osgDB::writeImageFile(*canvas.image(), path))
        return true;
    std::cerr << "vkrsim_makedata - cannot write " << path << std::endl;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vkrsim_makedata OUTPUT-DIRECTORY" << std::endl;
        return 2;
    }
    const std::string dir = argv[1];
    Canvas symbology(512, 512, kClear);
    drawSymbology(symbology);
    Canvas reticle(512, 512, kClear);
    drawReticle(reticle);
    // A faint veil: with the layer's own alpha of 0.1 it darkens the picture by about 1 %.
    Canvas veil(512, 512, Rgba{0, 0, 0, 24});

    bool ok = writePng(symbology, dir + "/qorn_static2.png");
    ok = writePng(reticle, dir + "/reticule2.png") && ok;
    ok = writePng(veil, dir + "/dummy.png") && ok;
    if (!writeTestCard(dir + "/mg.jpg")) {
        std::cerr << "vkrsim_makedata - cannot write " << dir << "/mg.jpg: " << codec::lastCodecError() << std::endl;
        ok = false;
    }
    return ok ? 0 : 1;
}
