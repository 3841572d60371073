#include "jpegfuzzcheck.h"

#include "codec/jpegcodec.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void broken(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "jpeg fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// Pictures up to this size also go through the file round trip (it costs an encode).
constexpr std::size_t roundTripPixels = 256u * 256u;

void checkSound(const codec::Image& image, const char* what)
{
    if (image.empty()) {
        if (image.width() != 0 || image.height() != 0 || image.components() != 0 || image.sizeInBytes() != 0)
            broken(what, "empty image with a size");
        return;
    }
    if (image.width() <= 0 || image.height() <= 0 || (image.components() != 1 && image.components() != 3) ||
        static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()) > codec::kMaxDecodedPixels ||
        image.pixels() == nullptr)
        broken(what, std::to_string(image.width()) + "x" + std::to_string(image.height()) + "x" +
                         std::to_string(image.components()));
}

// Writes the picture to a file in memory and reads the file back.
std::vector<std::uint8_t> writtenFile(const codec::Image& image)
{
    const int fd = memfd_create("image2.jpg", MFD_CLOEXEC);
    if (fd < 0)
        broken("memfd_create");
    if (!codec::writeJpegFile(image, "/proc/self/fd/" + std::to_string(fd)))
        broken("writeJpegFile", codec::lastCodecError());
    struct stat status {};
    std::vector<std::uint8_t> bytes;
    if (fstat(fd, &status) == 0 && status.st_size > 0) {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        if (pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            bytes.clear();
    }
    close(fd);
    return bytes;
}

}  // namespace

void checkJpegInput(const std::uint8_t* data, std::size_t size)
{
    // Kept from input to input, as the feed keeps its image from picture to picture.
    static codec::Image reused;

    codec::Image fresh;
    const bool decoded = codec::decodeJpeg(data, size, fresh);
    if (decoded == fresh.empty())
        broken("result and image disagree", codec::lastCodecError());
    checkSound(fresh, "fresh decode");

    const bool again = codec::decodeJpeg(data, size, reused);
    checkSound(reused, "decode into a used image");
    if (again != decoded || reused.width() != fresh.width() || reused.height() != fresh.height() ||
        reused.components() != fresh.components() ||
        (decoded && std::memcmp(reused.pixels(), fresh.pixels(), fresh.sizeInBytes()) != 0))
        broken("a used image decodes differently");

    if (!decoded || static_cast<std::size_t>(fresh.width()) * static_cast<std::size_t>(fresh.height()) > roundTripPixels)
        return;
    const std::vector<std::uint8_t> file = writtenFile(fresh);
    codec::Image back;
    if (!codec::decodeJpeg(file.data(), file.size(), back))
        broken("written picture does not read back", codec::lastCodecError());
    if (back.width() != fresh.width() || back.height() != fresh.height() || back.components() != fresh.components())
        broken("written picture reads back with another shape");
}
