// scenegen on the closed loop, with VKRsim's sight window drawing every picture at the same time:
//   1. sustained pictures per second of the scenegen program (640 x 480, asked for 30/s);
//   2. view latency: from the commit of a VKRsim view to the first datagram rendered from it;
//   3. per picture, in this process: render + read-back, scenegen's fitting encode, and a bare
//      TurboJPEG encode of the same frame at the same quality, each picture sent to the sight.
// Run inside the private network with a display:
//   scripts/isolated scripts/with-display build/bin/bench_scenegen [seconds]

#include "bench/support/benchtools.h"

#include "codec/jpegcodec.h"
#include "middleware/middleware.h"
#include "models/mission/vkrsim.h"
#include "sightview/sightviewthread.h"
#include "sightview/snapimage.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"
#include "support/groupsocket.h"
#include "tools/scenegen/jpegfit.h"
#include "tools/scenegen/renderer.h"
#include "tools/scenegen/scene.h"
#include "tools/scenegen/sender.h"
#include "tools/scenegen/terrain.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <turbojpeg.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <future>
#include <thread>

namespace Mw = ORVA::Middleware;
using namespace std::chrono_literals;

namespace {

const char* const kGroup = "239.255.42.51";

class Catcher {
public:
    Catcher() : socket_(kGroup, 2000) {}
    // One datagram within `timeoutMs`; its size, or -1.
    long next(int timeoutMs)
    {
        pollfd p{socket_.fd(), POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            return -1;
        return ::recv(socket_.fd(), buffer_.data(), buffer_.size(), MSG_TRUNC);
    }
    const std::uint8_t* data() const { return buffer_.data(); }

private:
    vkrsim::test::GroupSocket socket_;
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(70000);
};

// Share of sky-coloured pixels in a picture.
double skyShare(const codec::Image& image)
{
    const auto c = scenegen::kSky;
    std::size_t n = 0, all = 0;
    for (std::size_t i = 0; i + 2 < image.sizeInBytes(); i += 3 * 7, ++all) {
        const std::uint8_t* p = image.pixels() + i;
        n += std::abs(p[0] - static_cast<int>(c.r * 255)) < 14 && std::abs(p[1] - static_cast<int>(c.g * 255)) < 14 &&
             std::abs(p[2] - static_cast<int>(c.b * 255)) < 14;
    }
    return all ? static_cast<double>(n) / static_cast<double>(all) : 0.0;
}

void printRow(const char* what, const std::vector<double>& v)
{
    std::printf("  %-38s median %7.2f ms   p99 %7.2f ms   (n = %zu)\n", what, bench::percentile(v, 0.5),
                bench::percentile(v, 0.99), v.size());
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const std::string bin = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/bench-scenegen-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::filesystem::current_path(dir);
    {
        std::ofstream scene(dir + "/SceneGeneratorconfig.xml");
        scene << "<MGXML><multicast_address>" << kGroup << "</multicast_address><modelpath><path>" << VKRSIM_DATA_DIR
              << "</path></modelpath></MGXML>\n";
    }
    const std::string execution = "BenchScenegen." + std::to_string(::getpid());

    // VKRsim's sight window, drawing each picture it receives.
    stateBlock.stopRender = false;
    std::thread sight([] { sightViewThread(nullptr); });

    vkrsim::test::ChildProcess manager({bin + "/orva-executionmanager", "--execution", execution}, dir + "/manager.log", "", true);
    int optionCount = 2;
    const char* options[] = {"-joinTimeout", "10000", nullptr};
    auto runtime = Mw::init(Mw::Configuration(optionCount, options, "bench", ""));
    auto exec = runtime->enterExecution(execution);
    auto session = exec->openSession("bench");
    auto info = Mw::SmartPtr<HALC::VKRsim::PublicationInfo>(new HALC::VKRsim::PublicationInfo(
        Mw::SmartPtr<HALC::VKRsim::RemoteMethodsFactoryInterface>(new HALC::VKRsim::RemoteMethodsFactoryInterface())));
    auto factory = session->makeServantFactory<HALC::VKRsim::ServantTraits>(info);
    auto servant = factory->createServant(Mw::CommunicationProperties(1), Mw::ConcurrencyProperties(1));
    auto look = [&](double psi, double phi) {
        auto u = servant->createUpdater();
        u->set_fieldOfView(90);
        u->set_zoomFactor(1);
        u->set_viewPsi(psi);
        u->set_viewPhi(phi);
        servant->commitUpdater(std::move(u));
    };
    look(1.0, 0.0);

    Catcher catcher;
    codec::Image image;
    std::printf("scenegen bench: 640x480, 30/s asked, sight window drawing, %u cores\n",
                std::thread::hardware_concurrency());
    {
        vkrsim::test::ChildProcess scenegen({bin + "/scenegen", "--execution", execution, "--group", kGroup, "--rate", "30"},
                              dir + "/scenegen.log", "", true);
        // Warm up until pictures flow.
        for (int i = 0; i < 200 && catcher.next(100) < 0; ++i) {
        }
        for (auto end = bench::monotonicNs() + 1000000000; bench::monotonicNs() < end;)
            catcher.next(50);

        // 1. Sustained rate, the view turning slowly as an operator would turn it.
        const auto shownBefore = sightview::feedStatistics().picturesShown.load();
        long count = 0;
        std::size_t largest = 0;
        const std::int64_t start = bench::monotonicNs();
        std::int64_t nextTurn = start;
        double psi = 0;
        while (bench::monotonicNs() - start < static_cast<std::int64_t>(seconds * 1e9)) {
            if (bench::monotonicNs() >= nextTurn) {
                look(psi += 0.05, 0.0);
                nextTurn += 100000000;
            }
            const long n = catcher.next(100);
            if (n > 0) {
                ++count;
                largest = std::max(largest, static_cast<std::size_t>(n));
            }
        }
        const double elapsed = (bench::monotonicNs() - start) / 1e9;
        const auto shown = sightview::feedStatistics().picturesShown.load() - shownBefore;
        std::printf("1. sustained: %.1f pictures/s sent (goal >= 30), %.1f/s shown by the sight window, largest "
                    "datagram %zu bytes\n",
                    count / elapsed, shown / elapsed, largest);

        // 2. View latency: sky or ground alternately, at irregular moments.
        std::vector<double> latency;
        std::mt19937 random(3);
        int missed = 0;
        for (int i = 0; i < 120; ++i) {
            const bool up = i % 2 == 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(60 + random() % 90));
            while (catcher.next(0) >= 0) {
            }
            const std::int64_t committed = bench::monotonicNs();
            look(1.0, up ? -1.2 : 1.2);  // phi negative raises the view
            bool seen = false;
            while (!seen && bench::monotonicNs() - committed < 2000000000) {
                const long n = catcher.next(200);
                if (n <= 0 || !codec::decodeJpeg(catcher.data(), static_cast<std::size_t>(n), image))
                    continue;
                const double share = skyShare(image);
                if (up ? share > 0.6 : share < 0.2) {
                    latency.push_back((bench::monotonicNs() - committed) / 1e6);
                    seen = true;
                }
            }
            if (!seen) {
                ++missed;
                std::printf("  change %d (%s) not seen\n", i, up ? "to sky" : "to ground");
            }
        }
        std::printf("2. view latency, commit to first datagram of that view (goal median <= 66.7 ms):\n");
        printRow("latency", latency);
        if (missed)
            std::printf("  %d views never seen within 2 s\n", missed);
        scenegen.stop();
        const std::string log = vkrsim::test::readFile(dir + "/scenegen.log");
        const auto at = log.find("per picture");
        if (at != std::string::npos)
            std::printf("  scenegen's own figures: %s", log.substr(at).substr(0, log.substr(at).find('\n') + 1).c_str());
    }

    // 3. Per picture in this process, each sent to the sight so its window keeps drawing.
    {
        scenegen::Scene scene(1, 0.0);
        scenegen::Renderer renderer(640, 480, scene.root());
        scenegen::JpegFitter fitter;
        scenegen::DatagramSender sender(kGroup, 2000);
        tjhandle bare = tjInitCompress();
        std::vector<double> render, fit, plain;
        std::vector<double> sizes;
        const int pictures = static_cast<int>(seconds * 30);
        std::int64_t due = bench::monotonicNs();
        for (int i = 0; i < pictures; ++i) {
            scenegen::View v = scenegen::initialView();
            v.heading = i * 0.02;
            v.elevation = -0.05;
            const std::int64_t t0 = bench::monotonicNs();
            const osg::Image& picture = renderer.render(v);
            const std::int64_t t1 = bench::monotonicNs();
            const auto r = fitter.encode(picture.data(), 640, 480, true);
            const std::int64_t t2 = bench::monotonicNs();
            unsigned char* out = nullptr;
            unsigned long size = 0;
            tjCompress2(bare, picture.data(), 640, 0, 480, TJPF_RGB, &out, &size, TJSAMP_420, r.quality,
                        TJFLAG_BOTTOMUP | TJFLAG_FASTDCT);
            const std::int64_t t3 = bench::monotonicNs();
            tjFree(out);
            render.push_back((t1 - t0) / 1e6);
            fit.push_back((t2 - t1) / 1e6);
            plain.push_back((t3 - t2) / 1e6);
            sizes.push_back(static_cast<double>(fitter.jpeg().size()));
            sender.send(fitter.jpeg().data(), fitter.jpeg().size());
            due += 33333333;
            const std::int64_t wait = due - bench::monotonicNs();
            if (wait > 0)
                std::this_thread::sleep_for(std::chrono::nanoseconds(wait));
        }
        tjDestroy(bare);
        std::printf("3. per picture, 640x480, paced at 30/s, sight window drawing (quality %d, median %.0f bytes):\n",
                    fitter.quality(), bench::percentile(sizes, 0.5));
        printRow("render + read-back", render);
        printRow("scenegen encode (fits 32768 bytes)", fit);
        printRow("bare TurboJPEG encode, same frame", plain);
    }

    stateBlock.stopRender = true;
    // The sight waits for one more picture before it sees the stop request.
    {
        scenegen::DatagramSender sender(kGroup, 2000);
        const std::vector<std::uint8_t> none(1, 0);
        auto waited = std::async(std::launch::async, [&] { sight.join(); });
        while (waited.wait_for(20ms) != std::future_status::ready)
            sender.send(none.data(), none.size());
    }
    servant.reset();
    factory.reset();
    session.reset();
    exec.reset();
    runtime.reset();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir);
    return 0;
}
