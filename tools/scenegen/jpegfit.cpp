#include "tools/scenegen/jpegfit.h"

#include <turbojpeg.h>

#include <algorithm>

namespace scenegen {

namespace {
constexpr int kStep = 10;
constexpr int kSmallest = 32;  // pixels: below this a picture says nothing any more
}  // namespace

JpegFitter::JpegFitter(std::size_t limit, int highest, int lowest)
    : handle_(tjInitCompress()), limit_(limit), highest_(highest), lowest_(lowest), quality_(highest)
{
    if (!handle_)
        error_ = "tjInitCompress failed";
}

JpegFitter::~JpegFitter()
{
    if (handle_)
        tjDestroy(static_cast<tjhandle>(handle_));
}

bool JpegFitter::compress(const std::uint8_t* rgb, int width, int height, bool bottomUp, int quality)
{
    if (!handle_)
        return false;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int flags = (bottomUp ? TJFLAG_BOTTOMUP : 0) | TJFLAG_FASTDCT;
    if (tjCompress2(static_cast<tjhandle>(handle_), rgb, width, 0, height, TJPF_RGB, &out, &size, TJSAMP_420,
                    quality, flags) != 0) {
        error_ = std::string("tjCompress2: ") + tjGetErrorStr2(static_cast<tjhandle>(handle_));
        tjFree(out);
        return false;
    }
    jpeg_.assign(out, out + size);
    tjFree(out);
    return true;
}

JpegFitter::Result JpegFitter::encode(const std::uint8_t* rgb, int width, int height, bool bottomUp)
{
    Result r;
    int quality = quality_;
    // Plenty of room last time: try one step up, so the quality climbs back after a busy scene.
    const bool roomy = !jpeg_.empty() && jpeg_.size() < limit_ * 6 / 10 && quality_ < highest_;
    if (roomy)
        quality = std::min(highest_, quality_ + kStep);
    const std::uint8_t* pixels = rgb;
    int w = width, h = height;
    std::vector<std::uint8_t> scratch;
    while (true) {
        ++r.attempts;
        if (!compress(pixels, w, h, bottomUp, quality))
            return r;
        if (jpeg_.size() <= limit_)
            break;
        if (quality - kStep >= lowest_) {
            quality -= kStep;
        } else if (w / 2 >= kSmallest && h / 2 >= kSmallest) {
            halvePicture(pixels, w, h, scratch);
            halved_.swap(scratch);
            pixels = halved_.data();
            w /= 2;
            h /= 2;
        } else {
            error_ = "picture does not fit " + std::to_string(limit_) + " bytes even at " + std::to_string(w) + "x" +
                     std::to_string(h) + " quality " + std::to_string(quality);
            jpeg_.clear();
            return r;
        }
    }
    // The next picture starts from the quality that fitted this one.
    quality_ = quality;
    r.ok = true;
    r.quality = quality;
    r.width = w;
    r.height = h;
    return r;
}

void halvePicture(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& out)
{
    const int w = width / 2, h = height / 2;
    out.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = rgb + static_cast<std::size_t>(2 * y) * stride;
        const std::uint8_t* b = a + stride;
        std::uint8_t* o = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = static_cast<std::size_t>(6 * x + c);
                o[3 * x + c] = static_cast<std::uint8_t>((a[i] + a[i + 3] + b[i] + b[i + 3] + 2) / 4);
            }
    }
}

}  // namespace scenegen
