#pragma once
// Image codec layer: JPEG in memory -> image, image -> JPEG file, free. Built on libjpeg
// (libjpeg-turbo) with an error manager that returns instead of ending the process, so a
// corrupt, truncated, empty or hostile picture only ever gives an empty image.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace codec {

// Decoded picture: rows top to bottom, `components` bytes per pixel (1 grey, 3 RGB), no padding.
// The pixel buffer is kept between decodes into the same image, so a per-frame decode allocates
// only when a picture is larger than any before it.
class Image {
public:
    Image() = default;
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool empty() const noexcept { return width_ == 0; }
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    int components() const noexcept { return components_; }
    std::size_t sizeInBytes() const noexcept
    {
        return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * static_cast<std::size_t>(components_);
    }
    const std::uint8_t* pixels() const noexcept { return pixels_.get(); }
    std::uint8_t* pixels() noexcept { return pixels_.get(); }

    // Makes the image width x height x components, reusing the buffer when it is large enough.
    // Pixel contents are unspecified afterwards. Returns false (image left empty) on a bad size.
    bool reshape(int width, int height, int components);
    // Empty, buffer kept for the next decode.
    void clear() noexcept { width_ = height_ = components_ = 0; }
    // Empty, buffer released.
    void release() noexcept;

private:
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::size_t capacity_ = 0;
    int width_ = 0;
    int height_ = 0;
    int components_ = 0;
};

// Pictures larger than this are refused before any pixel buffer is allocated: a 32 KB datagram
// can claim 65535 x 65535 pixels.
inline constexpr std::size_t kMaxDecodedPixels = 64u * 1024u * 1024u;

// Decodes `length` bytes at `data` into `image`. A failed decode (corrupt data, a truncated
// stream, an unsupported colour space, a picture over kMaxDecodedPixels) leaves `image` empty
// and returns false; the reason is in lastCodecError() of this thread.
bool decodeJpeg(const std::uint8_t* data, std::size_t length, Image& image);

// Writes `image` as a JPEG file with the codec's default settings. The file is created (mode
// 0600) and truncated before the encoder runs, so an empty image leaves an empty file. Returns
// false when the file cannot be opened or written, or the image is empty; a write that failed
// part-way leaves the file empty too, never the front of a picture.
bool writeJpegFile(const Image& image, const std::string& path);

// Frees the image's pixels.
void freeImage(Image& image);

// What the last failed call of this thread reported, for diagnostics.
const std::string& lastCodecError();

}  // namespace codec
