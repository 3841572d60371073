#pragma once
// TurboJPEG encoding that always fits one datagram: a picture too large at the current quality
// is encoded again lower, and as the last resort at half size, until it fits the limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace scenegen {

constexpr std::size_t kMaxDatagram = 32768;  // bytes: the sight drops anything longer

class JpegFitter {
public:
    // Qualities from `highest` down to `lowest` in steps of 10 (libjpeg scale 1..100).
    explicit JpegFitter(std::size_t limit = kMaxDatagram, int highest = 90, int lowest = 20);
    ~JpegFitter();
    JpegFitter(const JpegFitter&) = delete;
    JpegFitter& operator=(const JpegFitter&) = delete;

    struct Result {
        bool ok = false;      // false only when TurboJPEG itself failed (reason in error())
        int quality = 0;      // of the encoding sent
        int width = 0;        // of the encoding sent: smaller than the picture as the last resort
        int height = 0;
        int attempts = 0;     // encodings made for this picture
    };

    // Encodes an RGB picture (3 bytes per pixel, rows from the bottom when `bottomUp`).
    // On success jpeg() holds at most `limit` bytes. Starts from the quality the last picture
    // settled on, and tries one step higher once a picture leaves plenty of room.
    Result encode(const std::uint8_t* rgb, int width, int height, bool bottomUp);

    const std::vector<std::uint8_t>& jpeg() const { return jpeg_; }
    const std::string& error() const { return error_; }
    int quality() const { return quality_; }

private:
    bool compress(const std::uint8_t* rgb, int width, int height, bool bottomUp, int quality);

    void* handle_;
    std::size_t limit_;
    int highest_;
    int lowest_;
    int quality_;
    std::vector<std::uint8_t> jpeg_;
    std::vector<std::uint8_t> halved_;
    std::string error_;
};

// Halves an RGB picture by 2 x 2 averaging (odd last rows or columns dropped).
void halvePicture(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& out);

}  // namespace scenegen
