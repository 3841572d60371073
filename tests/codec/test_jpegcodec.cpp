#include "codec/jpegcodec.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A smooth colour picture that JPEG keeps close: red across, green down, blue constant.
Bytes gradient(int width, int height)
{
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(255 * x / (width - 1));
            p[1] = static_cast<std::uint8_t>(255 * y / (height - 1));
            p[2] = 96;
        }
    return rgb;
}

// Encoded by the TurboJPEG API, independently of the layer under test.
Bytes encodeReference(const Bytes& pixels, int width, int height, int pixelFormat, int subsampling)
{
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(tj, pixels.data(), width, 0, height, pixelFormat, &out, &size, subsampling, 95, 0);
    Bytes jpeg;
    if (rc == 0)
        jpeg.assign(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

Bytes readBytes(const std::string& path)
{
    const std::string s = vkrsim::test::readFile(path);
    return Bytes(s.begin(), s.end());
}

int maxDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t n)
{
    int worst = 0;
    for (std::size_t i = 0; i < n; ++i)
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}

class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/vkrsim-codec-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

TEST(JpegCodec, RoundTripThroughFileKeepsSizeAndPixels)
{
    const int w = 160, h = 120;
    const Bytes source = gradient(w, h);
    const Bytes jpeg = encodeReference(source, w, h, TJPF_RGB, TJSAMP_444);
    ASSERT_FALSE(jpeg.empty());

    codec::Image first;
    ASSERT_TRUE(codec::decodeJpeg(jpeg.data(), jpeg.size(), first)) << codec::lastCodecError();
    EXPECT_EQ(first.width(), w);
    EXPECT_EQ(first.height(), h);
    EXPECT_EQ(first.components(), 3);
    EXPECT_LE(maxDifference(first.pixels(), source.data(), source.size()), 8);

    TempDir dir;
    const std::string path = dir.file("image2.jpg");
    ASSERT_TRUE(codec::writeJpegFile(first, path)) << codec::lastCodecError();
    const Bytes written = readBytes(path);
    ASSERT_GT(written.size(), 2u);
    EXPECT_EQ(written[0], 0xFF);
    EXPECT_EQ(written[1], 0xD8);

    codec::Image second;
    ASSERT_TRUE(codec::decodeJpeg(written.data(), written.size(), second)) << codec::lastCodecError();
    EXPECT_EQ(second.width(), w);
    EXPECT_EQ(second.height(), h);
    EXPECT_EQ(second.components(), 3);
    // Default quality 75 with 4:2:0 chroma: a smooth gradient stays within a few levels.
    EXPECT_LE(maxDifference(second.pixels(), source.data(), source.size()), 24);
}

TEST(JpegCodec, GreyPicturesKeepOneComponent)
{
    const int w = 33, h = 17;  // odd sizes exercise partial MCUs
    Bytes grey(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<std::uint8_t>(i * 7);
    const Bytes jpeg = encodeReference(grey, w, h, TJPF_GRAY, TJSAMP_GRAY);
    codec::Image image;
    ASSERT_TRUE(codec::decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.components(), 1);
    EXPECT_EQ(image.width(), w);
    EXPECT_EQ(image.height(), h);

    TempDir dir;
    ASSERT_TRUE(codec::writeJpegFile(image, dir.file("grey.jpg")));
    const Bytes again = readBytes(dir.file("grey.jpg"));
    codec::Image back;
    ASSERT_TRUE(codec::decodeJpeg(again.data(), again.size(), back));
    EXPECT_EQ(back.components(), 1);
}

TEST(JpegCodec, BadBuffersGiveAnEmptyImageAndTheProcessLives)
{
    const Bytes good = encodeReference(gradient(64, 64), 64, 64, TJPF_RGB, TJSAMP_420);
    ASSERT_GT(good.size(), 200u);

    Bytes truncatedHalf(good.begin(), good.begin() + good.size() / 2);
    Bytes truncatedHeader(good.begin(), good.begin() + 20);
    Bytes soiOnly = {0xFF, 0xD8};
    Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    Bytes zeros(4096, 0);
    // Start of frame with a zero height and width: libjpeg refuses it as an error.
    Bytes zeroSize = good;
    for (std::size_t i = 0; i + 8 < zeroSize.size(); ++i)
        if (zeroSize[i] == 0xFF && zeroSize[i + 1] == 0xC0) {
            zeroSize[i + 5] = zeroSize[i + 6] = zeroSize[i + 7] = zeroSize[i + 8] = 0;
            break;
        }
    // Claims 65000 x 65000 pixels: refused before any pixel buffer is allocated.
    Bytes huge = good;
    for (std::size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFD;
            huge[i + 6] = 0xE8;
            huge[i + 7] = 0xFD;
            huge[i + 8] = 0xE8;
            break;
        }
    // Entropy data replaced by markers that are not allowed there.
    Bytes badMarkers = good;
    for (std::size_t i = good.size() / 2; i < good.size() - 2; i += 2) {
        badMarkers[i] = 0xFF;
        badMarkers[i + 1] = 0xC4;
    }

    struct Row {
        const char* name;
        const Bytes* bytes;
    } rows[] = {
        {"truncated at half", &truncatedHalf}, {"truncated inside the header", &truncatedHeader},
        {"start-of-image marker only", &soiOnly}, {"plain text", &text},
        {"zeros", &zeros}, {"zero dimensions", &zeroSize},
        {"hostile dimensions", &huge}, {"markers inside entropy data", &badMarkers},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        codec::Image image;
        // A previous good picture must not survive a failed decode.
        ASSERT_TRUE(codec::decodeJpeg(good.data(), good.size(), image));
        EXPECT_FALSE(codec::decodeJpeg(row.bytes->data(), row.bytes->size(), image));
        EXPECT_TRUE(image.empty());
        EXPECT_FALSE(codec::lastCodecError().empty());
    }

    codec::Image image;
    EXPECT_FALSE(codec::decodeJpeg(nullptr, 0, image));
    EXPECT_FALSE(codec::decodeJpeg(good.data(), 0, image));
    EXPECT_TRUE(image.empty());
}

// A few hundred bytes claiming 8000 x 8000 pixels, cut after the first scan header: refused at
// the end of the data, not after padding 64 million pixels (seconds each, on the feed's thread).
TEST(JpegCodec, TruncatedHugePicturesAreRefusedWithoutDecodingThePadding)
{
    const Bytes good = encodeReference(gradient(64, 64), 64, 64, TJPF_RGB, TJSAMP_420);
    Bytes claim = good;
    std::size_t scan = 0;
    for (std::size_t i = 0; i + 8 < claim.size(); ++i) {
        if (claim[i] == 0xFF && claim[i + 1] == 0xC0) {
            claim[i + 5] = claim[i + 7] = 0x1F;  // 8000 = 0x1F40
            claim[i + 6] = claim[i + 8] = 0x40;
        }
        if (claim[i] == 0xFF && claim[i + 1] == 0xDA)
            scan = i;
    }
    ASSERT_GT(scan, 0u);
    claim.resize(scan + 40);

    codec::Image image;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(codec::decodeJpeg(claim.data(), claim.size(), image));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(image.empty());
    EXPECT_NE(codec::lastCodecError().find("corrupt JPEG"), std::string::npos) << codec::lastCodecError();
    // Padding costs well over 0.1 s per picture on any machine; the refusal microseconds.
    EXPECT_LT(seconds, 1.0);
}

TEST(JpegCodec, EmptyImageTruncatesAnExistingFile)
{
    TempDir dir;
    const std::string path = dir.file("image2.jpg");
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'x');
    }
    codec::Image empty;
    EXPECT_FALSE(codec::writeJpegFile(empty, path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
}

TEST(JpegCodec, AWriteCutShortLeavesAnEmptyFileNotTheFrontOfAPicture)
{
    TempDir dir;
    Bytes noise(256 * 256 * 3);
    unsigned seed = 1;
    for (auto& b : noise)
        b = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const Bytes jpeg = encodeReference(noise, 256, 256, TJPF_RGB, TJSAMP_444);
    codec::Image image;
    ASSERT_TRUE(codec::decodeJpeg(jpeg.data(), jpeg.size(), image));
    const std::string path = dir.file("image2.jpg");

    // A file-size limit far below the picture's size: the encoder's writes fail half-way.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit low = old;
    low.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    const bool written = codec::writeJpegFile(image, path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(codec::lastCodecError().empty());
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
}

TEST(JpegCodec, NewFilesArePrivateAndUnwritablePathsFail)
{
    TempDir dir;
    const Bytes jpeg = encodeReference(gradient(16, 16), 16, 16, TJPF_RGB, TJSAMP_444);
    codec::Image image;
    ASSERT_TRUE(codec::decodeJpeg(jpeg.data(), jpeg.size(), image));
    const std::string path = dir.file("fresh.jpg");
    ASSERT_TRUE(codec::writeJpegFile(image, path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_FALSE(codec::writeJpegFile(image, dir.file("no/such/dir/x.jpg")));
    EXPECT_FALSE(codec::lastCodecError().empty());
}

TEST(JpegCodec, DecodingReusesTheBufferOfALargerPicture)
{
    const Bytes large = encodeReference(gradient(320, 240), 320, 240, TJPF_RGB, TJSAMP_420);
    const Bytes small = encodeReference(gradient(64, 48), 64, 48, TJPF_RGB, TJSAMP_420);
    codec::Image image;
    ASSERT_TRUE(codec::decodeJpeg(large.data(), large.size(), image));
    const std::uint8_t* buffer = image.pixels();
    ASSERT_TRUE(codec::decodeJpeg(small.data(), small.size(), image));
    EXPECT_EQ(image.pixels(), buffer);
    EXPECT_EQ(image.width(), 64);
    ASSERT_TRUE(codec::decodeJpeg(large.data(), large.size(), image));
    EXPECT_EQ(image.pixels(), buffer);

    codec::freeImage(image);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.pixels(), nullptr);
}

}  // namespace
