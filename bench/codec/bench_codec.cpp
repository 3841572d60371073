// Codec layer against bare libjpeg-turbo calls doing the same work, in one run.
//   bench_codec [--benchmark_repetitions=N]
// Decode: JPEG in memory -> RGB pixels. Encode: RGB pixels -> JPEG file with default settings.

#include "codec/jpegcodec.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Colour bars with a moving gradient and noise: compresses like a camera picture (about 30 KB
// at 640 x 480 with quality 75).
Bytes picture(int w, int h)
{
    static const std::uint8_t bars[7][3] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                                            {192, 0, 192}, {192, 0, 0}, {0, 0, 192}};
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> noise(-6, 6);
    Bytes rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* bar = bars[x * 7 / w];
            for (int c = 0; c < 3; ++c) {
                int v = bar[c] + (y * 40 / h) + noise(rng);
                rgb[(static_cast<std::size_t>(y) * w + x) * 3 + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            }
        }
    return rgb;
}

Bytes encodeToMemory(const Bytes& rgb, int w, int h)
{
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_420, 75, 0);
    Bytes jpeg(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

struct Fixture {
    int w, h;
    Bytes rgb, jpeg;
};

const Fixture& fixture(int w, int /*h*/)
{
    static Fixture small{640, 480, picture(640, 480), {}};
    static Fixture large{1024, 1024, picture(1024, 1024), {}};
    Fixture& f = (w == 640) ? small : large;
    if (f.jpeg.empty())
        f.jpeg = encodeToMemory(f.rgb, f.w, f.h);
    return f;
}

std::string scratchFile()
{
    static const std::string path = "/tmp/vkrsim-bench-codec-" + std::to_string(getpid()) + ".jpg";
    return path;
}

void CodecDecode(benchmark::State& state)
{
    const Fixture& f = fixture(int(state.range(0)), int(state.range(1)));
    codec::Image image;
    for (auto _ : state) {
        if (!codec::decodeJpeg(f.jpeg.data(), f.jpeg.size(), image))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels());
    }
    state.counters["jpeg_bytes"] = double(f.jpeg.size());
}

// The plain libjpeg sequence with the default (exiting) error manager and a buffer allocated once.
void BareLibjpegDecode(benchmark::State& state)
{
    const Fixture& f = fixture(int(state.range(0)), int(state.range(1)));
    Bytes out(f.rgb.size());
    for (auto _ : state) {
        jpeg_decompress_struct info;
        jpeg_error_mgr err;
        info.err = jpeg_std_error(&err);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, f.jpeg.data(), f.jpeg.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        const std::size_t stride = std::size_t(info.output_width) * 3;
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = out.data() + info.output_scanline * stride;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(out.data());
    }
}

void TurboJpegDecode(benchmark::State& state)
{
    const Fixture& f = fixture(int(state.range(0)), int(state.range(1)));
    Bytes out(f.rgb.size());
    tjhandle tj = tjInitDecompress();
    for (auto _ : state) {
        tjDecompress2(tj, f.jpeg.data(), f.jpeg.size(), out.data(), f.w, 0, f.h, TJPF_RGB, 0);
        benchmark::DoNotOptimize(out.data());
    }
    tjDestroy(tj);
}

void CodecEncodeToFile(benchmark::State& state)
{
    const Fixture& f = fixture(int(state.range(0)), int(state.range(1)));
    codec::Image image;
    codec::decodeJpeg(f.jpeg.data(), f.jpeg.size(), image);
    for (auto _ : state)
        if (!codec::writeJpegFile(image, scratchFile()))
            state.SkipWithError("encode failed");
    unlink(scratchFile().c_str());
}

void BareLibjpegEncodeToFile(benchmark::State& state)
{
    const Fixture& f = fixture(int(state.range(0)), int(state.range(1)));
    codec::Image image;
    codec::decodeJpeg(f.jpeg.data(), f.jpeg.size(), image);
    for (auto _ : state) {
        std::FILE* file = std::fopen(scratchFile().c_str(), "wb");
        jpeg_compress_struct info;
        jpeg_error_mgr err;
        info.err = jpeg_std_error(&err);
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, file);
        info.image_width = JDIMENSION(image.width());
        info.image_height = JDIMENSION(image.height());
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_start_compress(&info, TRUE);
        const std::size_t stride = std::size_t(image.width()) * 3;
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = const_cast<std::uint8_t*>(image.pixels()) + info.next_scanline * stride;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::fclose(file);
    }
    unlink(scratchFile().c_str());
}

#define SIZES ->Args({640, 480})->Args({1024, 1024})->Unit(benchmark::kMillisecond)
BENCHMARK(CodecDecode) SIZES;
BENCHMARK(BareLibjpegDecode) SIZES;
BENCHMARK(TurboJpegDecode) SIZES;
BENCHMARK(CodecEncodeToFile) SIZES;
BENCHMARK(BareLibjpegEncodeToFile) SIZES;

}  // namespace

BENCHMARK_MAIN();
