#include "codec/jpegcodec.h"

#include <fcntl.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <limits>
#include <new>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace codec {
namespace {

thread_local std::string lastError;

// libjpeg's default error manager calls exit(); this one jumps back to the call that started
// the codec and keeps the message, so a bad picture can never end the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int warnings;
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Level -1 is a warning about corrupt data (a truncated stream only warns and pads with grey).
// A decode refuses the picture at the first one, at once, like on an error: a datagram of a few
// hundred bytes claiming 60 million pixels would otherwise have the rest padded, costing seconds
// of the feed's thread for nothing. Encodes count warnings only. Trace messages are dropped.
void onMessage(j_common_ptr info, int level)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && err->warnings++ == 0 && info->is_decompressor)
        onError(info);
}

void installErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.message[0] = '\0';
    err.warnings = 0;
}

// Own a codec object for one call. Destroying a zero-filled object is a no-op in libjpeg, so
// no "created" flag has to survive the longjmp.
struct Decompressor {
    jpeg_decompress_struct info{};
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

struct Compressor {
    jpeg_compress_struct info{};
    ~Compressor() { jpeg_destroy_compress(&info); }
};

// Owns the output file of one encode.
struct OutputFile {
    std::FILE* file = nullptr;
    ~OutputFile()
    {
        if (file)
            std::fclose(file);
    }
};

bool fail(Image& image, const char* what)
{
    image.clear();
    lastError = what;
    return false;
}

}  // namespace

bool Image::reshape(int width, int height, int components)
{
    clear();
    if (width <= 0 || height <= 0 || components <= 0)
        return false;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(components);
    if (bytes > capacity_) {
        // Default-initialised: no zero fill of memory the decoder overwrites anyway.
        std::unique_ptr<std::uint8_t[]> fresh(new (std::nothrow) std::uint8_t[bytes]);
        if (!fresh)
            return false;
        pixels_ = std::move(fresh);
        capacity_ = bytes;
    }
    width_ = width;
    height_ = height;
    components_ = components;
    return true;
}

void Image::release() noexcept
{
    clear();
    pixels_.reset();
    capacity_ = 0;
}

bool decodeJpeg(const std::uint8_t* data, std::size_t length, Image& image)
{
    image.clear();
    if (data == nullptr || length == 0)
        return fail(image, "empty buffer");
    if (length > std::numeric_limits<unsigned long>::max())
        return fail(image, "buffer too large");

    ErrorManager err;
    Decompressor d;
    // Nothing that the error path reads is changed between setjmp and a longjmp except through
    // libjpeg's pointers, so no local needs to be volatile.
    d.info.err = &err.pub;
    installErrorManager(err);
    if (setjmp(err.jump)) {
        lastError = std::string("corrupt JPEG: ") + err.message;
        image.clear();
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(length));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return fail(image, "no JPEG image in buffer");

    switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE: d.info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_YCbCr:
    case JCS_RGB: d.info.out_color_space = JCS_RGB; break;
    default: return fail(image, "unsupported JPEG colour space");
    }
    jpeg_calc_output_dimensions(&d.info);
    const std::size_t pixelCount = static_cast<std::size_t>(d.info.output_width) * d.info.output_height;
    if (pixelCount == 0 || pixelCount > kMaxDecodedPixels)
        return fail(image, "JPEG dimensions out of range");

    // The header alone may lie about the size; refuse before allocating, decode after.
    if (!image.reshape(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                       d.info.output_components))
        return fail(image, "out of memory for picture");

    jpeg_start_decompress(&d.info);
    const std::size_t stride = static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.components());
    std::uint8_t* base = image.pixels();
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW rows[4];
        const JDIMENSION first = d.info.output_scanline;
        JDIMENSION want = d.info.output_height - first;
        if (want > 4)
            want = 4;
        for (JDIMENSION i = 0; i < want; ++i)
            rows[i] = base + (first + i) * stride;
        if (jpeg_read_scanlines(&d.info, rows, want) == 0)
            return fail(image, "JPEG stream ended early");
    }
    // A corrupt-data warning ends the decode through the error path (onMessage).
    jpeg_finish_decompress(&d.info);
    return true;
}

namespace {

bool writeJpegFileOnce(const Image& image, const std::string& path)
{
    // Create and truncate first: a picture that did not decode leaves an empty file behind,
    // never the previous picture. Private to the user, as the exchange directory is.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        lastError = "cannot open " + path + " for writing";
        return false;
    }
    OutputFile out;
    out.file = ::fdopen(fd, "wb");
    if (!out.file) {
        ::close(fd);
        lastError = "cannot open " + path + " for writing";
        return false;
    }
    if (image.empty()) {
        lastError = "empty image";
        return false;
    }

    ErrorManager err;
    Compressor c;
    c.info.err = &err.pub;
    installErrorManager(err);
    if (setjmp(err.jump)) {
        lastError = std::string("JPEG encode failed: ") + err.message;
        return false;
    }
    jpeg_create_compress(&c.info);
    jpeg_stdio_dest(&c.info, out.file);
    c.info.image_width = static_cast<JDIMENSION>(image.width());
    c.info.image_height = static_cast<JDIMENSION>(image.height());
    c.info.input_components = image.components();
    c.info.in_color_space = image.components() == 1 ? JCS_GRAYSCALE : JCS_RGB;
    if (image.components() != 1 && image.components() != 3) {
        lastError = "unsupported component count";
        return false;
    }
    jpeg_set_defaults(&c.info);
    jpeg_start_compress(&c.info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.components());
    // libjpeg takes non-const rows but only reads them.
    auto* base = const_cast<std::uint8_t*>(image.pixels());
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row = base + c.info.next_scanline * stride;
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    std::FILE* f = out.file;
    out.file = nullptr;
    if (std::fclose(f) != 0) {
        lastError = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

bool writeJpegFile(const Image& image, const std::string& path)
{
    // A write that fails half-way (a full disk, a file-size limit) would leave the front of a
    // picture behind, which a reader takes for a picture with a grey or smeared lower part.
    if (writeJpegFileOnce(image, path))
        return true;
    const std::string reason = lastError;
    ::truncate(path.c_str(), 0);
    lastError = reason;
    return false;
}

void freeImage(Image& image) { image.release(); }

const std::string& lastCodecError() { return lastError; }

}  // namespace codec
