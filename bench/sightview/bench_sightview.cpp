// Sight view feed benchmark. Run by hand with a display and the private network:
//   scripts/isolated scripts/with-display <build>/bin/bench_sightview [PICTURES]
// 1. Pictures shown out of those sent: the real render thread (window, HUD, per-frame join)
//    fed by a GStreamer pipeline of 640 x 480 test pictures at 30/s and at 60/s.
// 2. Time of one receive cycle (join, decode, encode to the exchange file, read back, texture,
//    leave; the wait for the datagram left out) beside bare TurboJPEG decode + encode to a file +
//    read back and decode of the same picture, measured in the same run.

#include "stateblock/stateblock.h"
#include "sightview/exchangedirectory.h"
#include "sightview/scenesettings.h"
#include "sightview/snapimage.h"
#include "sightview/sightviewthread.h"

#include <osg/RenderInfo>

#include <turbojpeg.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <ctime>
#include <vector>

using namespace sightview;

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
const char* kGroup = "239.255.42.41";

int runGStreamer(int rate, int pictures, const std::string& sink)
{
    std::vector<std::string> args = {"/usr/bin/gst-launch-1.0", "-q", "videotestsrc", "pattern=smpte",
                                     "horizontal-speed=2", "num-buffers=" + std::to_string(pictures), "!",
                                     "video/x-raw,width=640,height=480,framerate=" + std::to_string(rate) + "/1",
                                     "!", "jpegenc", "quality=50", "!"};
    if (sink.empty()) {
        for (const char* a : {"udpsink", "port=2000", "auto-multicast=true", "multicast-iface=lo", "ttl-mc=1"})
            args.emplace_back(a);
        args.emplace_back(std::string("host=") + kGroup);
    } else {
        args.emplace_back("filesink");
        args.emplace_back("location=" + sink);
    }
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<unsigned char> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

struct Times {
    double median, mean;
};

Times summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    return Times{times[times.size() / 2], sum / static_cast<double>(times.size())};
}

// Bare reference: decode, encode to a file in the exchange directory, read it back, decode;
// buffers reused.
Times bareCycleMs(const std::vector<unsigned char>& jpeg, int rounds)
{
    tjhandle dec = tjInitDecompress();
    tjhandle enc = tjInitCompress();
    int w = 0, h = 0, sub = 0, space = 0;
    tjDecompressHeader3(dec, jpeg.data(), jpeg.size(), &w, &h, &sub, &space);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    const std::string path = driveBPath("b:\\bare.jpg");
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        tjDecompress2(dec, jpeg.data(), jpeg.size(), rgb.data(), w, 0, h, TJPF_RGB, 0);
        unsigned char* out = nullptr;
        unsigned long size = 0;
        tjCompress2(enc, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_420, 75, 0);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(out, 1, size, f);
            std::fclose(f);
        }
        tjFree(out);
        const std::vector<unsigned char> back = readAll(path);
        tjDecompress2(dec, back.data(), back.size(), rgb.data(), w, 0, h, TJPF_RGB, 0);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    tjDestroy(dec);
    tjDestroy(enc);
    return summarise(times);
}

// Sends `jpeg` to the group every 2 ms until destroyed: a picture is always about to arrive.
class Flood {
public:
    explicit Flood(const std::vector<unsigned char>& jpeg)
        : thread_([this, &jpeg] {
              const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
              in_addr lo{};
              lo.s_addr = htonl(INADDR_LOOPBACK);
              ::setsockopt(s, IPPROTO_IP, IP_MULTICAST_IF, &lo, sizeof lo);
              sockaddr_in to{};
              to.sin_family = AF_INET;
              to.sin_port = htons(2000);
              ::inet_pton(AF_INET, kGroup, &to.sin_addr);
              while (!stop_) {
                  ::sendto(s, jpeg.data(), jpeg.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
              }
              ::close(s);
          })
    {
    }
    ~Flood()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// One receive cycle called directly (no window) while pictures flood the group; the wait for
// the datagram is left out of each cycle's time.
Times directCycleMs(const std::vector<unsigned char>& jpeg, int rounds)
{
    Flood flood(jpeg);
    osg::ref_ptr<SnapImage> snap = new SnapImage;
    osg::RenderInfo info;
    FeedStatistics& st = feedStatistics();
    (*snap)(info);  // warm-up: first look-up of the group, first buffers
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto busy0 = st.busyNanoseconds.load();
        (*snap)(info);
        times.push_back(static_cast<double>(st.busyNanoseconds.load() - busy0) / 1e6);
    }
    return summarise(times);
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct FloodResult {
    double framesPerSecond;
    double cpuMsPerFrame;  // this process, the rasteriser's threads included (not the X server)
};

// The sight window when a picture is always waiting: frames per second, and the processor time a
// frame costs, which the machine's other work disturbs less than the wall clock.
FloodResult floodFrames(const std::vector<unsigned char>& jpeg)
{
    Flood flood(jpeg);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto frames0 = feedStatistics().picturesShown.load();
    const double cpu0 = processCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(4));
    const double frames = static_cast<double>(feedStatistics().picturesShown.load() - frames0);
    return FloodResult{frames / 4.0, (processCpuSeconds() - cpu0) * 1000.0 / std::max(1.0, frames)};
}

struct RateResult {
    int rate;
    int sent;
    std::uint64_t shown;
    double cycleMs;
};

RateResult measureRate(int rate, int pictures)
{
    FeedStatistics& st = feedStatistics();
    const auto shown0 = st.picturesShown.load();
    const auto busy0 = st.busyNanoseconds.load();
    const auto cycles0 = st.busyCycles.load();
    runGStreamer(rate, pictures, "");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto cycles = st.busyCycles.load() - cycles0;
    return RateResult{rate, pictures, st.picturesShown.load() - shown0,
                      static_cast<double>(st.busyNanoseconds.load() - busy0) / 1e6 /
                          static_cast<double>(std::max<std::uint64_t>(1, cycles))};
}

}  // namespace

int main(int argc, char** argv)
{
    // Line by line, so that a profiler can be started at the phase it is meant for.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 600;
    namespace fs = std::filesystem;
    const fs::path work = fs::temp_directory_path() / ("bench_sightview-" + std::to_string(::getpid()));
    fs::create_directories(work);
    fs::current_path(work);
    {
        std::ofstream scene("SceneGeneratorconfig.xml");
        scene << "<MGXML><multicast_address>" << kGroup << "</multicast_address><modelpath><path>"
              << VKRSIM_DATA_DIR << "</path></modelpath></MGXML>\n";
    }
    if (runGStreamer(30, 1, (work / "sample.jpg").string()) != 0) {
        std::fprintf(stderr, "bench_sightview - gst-launch-1.0 failed\n");
        return 1;
    }
    const std::vector<unsigned char> sample = readAll((work / "sample.jpg").string());
    std::printf("picture: 640 x 480, %zu bytes\n", sample.size());

    readSceneSettings();
    const Times bare = bareCycleMs(sample, 300);
    const Times direct = directCycleMs(sample, 300);
    std::printf("bare decode+encode+decode: median %.3f ms, mean %.3f ms\n", bare.median, bare.mean);
    std::printf("receive cycle called directly (wait excluded): median %.3f ms = %.2f x bare, mean %.3f ms = %.2f x bare\n",
                direct.median, direct.median / bare.median, direct.mean, direct.mean / bare.mean);

    std::thread render([] { sightViewThread(nullptr); });
    render.detach();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const FloodResult flood = floodFrames(sample);
    std::printf("sight window, a picture always waiting: %.1f frames/s, %.1f ms wall and %.1f ms processor per frame\n",
                flood.framesPerSecond, 1000.0 / std::max(0.1, flood.framesPerSecond), flood.cpuMsPerFrame);
    for (int rate : {30, 60}) {
        const RateResult r = measureRate(rate, pictures);
        std::printf("%d/s: shown %llu of %d = %.1f %%; cycle in the window: mean %.3f ms = %.2f x bare mean\n", r.rate,
                    static_cast<unsigned long long>(r.shown), r.sent, 100.0 * static_cast<double>(r.shown) / r.sent,
                    r.cycleMs, r.cycleMs / bare.mean);
    }
    const Times bareAfter = bareCycleMs(sample, 300);
    std::printf("bare decode+encode+decode again: median %.3f ms, mean %.3f ms\n", bareAfter.median, bareAfter.mean);
    std::fflush(stdout);
    std::error_code ec;
    fs::current_path("/", ec);
    fs::remove_all(work, ec);
    // The render thread waits for a next picture that will not come; end without unwinding it.
    std::_Exit(0);
}
