// Join/Resign and Start/stop-render cycles in one process, through the state block and the real
// session and render threads (the render thread's window on a private X display, pictures sent to
// it meanwhile). Threads, descriptors and resident memory are compared before the first cycle and
// after the last. Built in a sanitizer build folder it is the leak and race check of the cycles:
//   cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined
//   cmake --build build-asan --target soak_cycles
//   scripts/isolated scripts/with-display build-asan/bin/soak_cycles [CYCLES]
// (-fsanitize=thread in a folder of its own for races.)

#include "desktop/messagebox.h"
#include "rangelink/sessionthread.h"
#include "sightview/sightviewthread.h"
#include "sightview/snapimage.h"
#include "soak/support/consoletap.h"
#include "soak/support/procstat.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using vkrsim::test::ChildProcess;
using namespace std::chrono_literals;

namespace {

const char* const kGroup = "239.255.42.81";
std::atomic<int> errorBoxes{0};

void answerAtOnce(const desktop::MessageBoxRequest& request)
{
    if (request.text != "From Orva Subscriber") {
        ++errorBoxes;
        std::fprintf(stderr, "soak_cycles: box \"%s\"\n", request.text.c_str());
    }
}

std::vector<unsigned char> testPicture()
{
    std::vector<unsigned char> rgb(320 * 240 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<unsigned char>((i / 3 % 320) * (i % 3 + 1) / 3);
    tjhandle h = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(h, rgb.data(), 320, 0, 240, TJPF_RGB, &out, &size, TJSAMP_420, 70, 0);
    std::vector<unsigned char> jpeg(out, out + size);
    tjFree(out);
    tjDestroy(h);
    return jpeg;
}

// Pictures on the group at 30/s while it lives.
class Feed {
public:
    Feed()
        : thread_([this] {
              const auto jpeg = testPicture();
              const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
              sockaddr_in to{};
              to.sin_family = AF_INET;
              to.sin_port = htons(sightview::kFeedPort);
              ::inet_pton(AF_INET, kGroup, &to.sin_addr);
              while (!stop_) {
                  ::sendto(s, jpeg.data(), jpeg.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
                  std::this_thread::sleep_for(33ms);
              }
              ::close(s);
          })
    {
    }
    ~Feed()
    {
        stop_ = true;
        thread_.join();
    }
    Feed(const Feed&) = delete;
    Feed& operator=(const Feed&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

template <typename Predicate>
bool within(std::chrono::milliseconds timeout, Predicate p)
{
    return vkrsim::test::eventually(p, timeout);
}

// Before the first cycle, after it (libraries loaded, caches made once) and after the last.
void print(const char* what, const soak::ProcessFigures& before, const soak::ProcessFigures& first,
           const soak::ProcessFigures& after)
{
    std::printf("  %s: threads %d, %d, %d; descriptors %d, %d, %d; resident %.1f, %.1f, %.1f MB "
                "(before the first cycle, after it, after the last)\n",
                what, before.threads, first.threads, after.threads, before.fds, first.fds, after.fds,
                before.rssKb / 1024.0, first.rssKb / 1024.0, after.rssKb / 1024.0);
}

bool flat(const soak::ProcessFigures& first, const soak::ProcessFigures& after)
{
    return after.threads <= first.threads && after.fds <= first.fds;
}

}  // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    const std::string bin = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/soak-cycles-XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0) {
        std::perror("soak_cycles");
        return 1;
    }
    const std::string dir = pattern;
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    const std::string execution = "SoakCycles." + std::to_string(::getpid());
    std::ofstream("config.txt") << "ORVA.executionName=" << execution
                                << "\nORVA.sessionName=VKRsim\nORVA.LTP_latitude=0\nORVA.LTP_longitude=0\n"
                                   "ORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";
    std::ofstream("SceneGeneratorconfig.xml") << "<MGXML><multicast_address>" << kGroup
                                              << "</multicast_address><modelpath><path>" << VKRSIM_DATA_DIR
                                              << "</path></modelpath></MGXML>\n";
    desktop::setMessageBoxHandler(&answerAtOnce);
    bool ok = true;

    // Start / stop render: the window opens, draws pictures, and closes on stopRender.
    if (std::getenv("DISPLAY")) {
        Feed feed;
        const auto before = soak::processFigures();
        soak::ProcessFigures first;
        int notDrawing = 0;
        for (int i = 0; i < cycles; ++i) {
            stateBlock.stopRender = false;
            const auto shown = sightview::feedStatistics().picturesShown.load();
            std::atomic<bool> done{false};
            std::thread render([&done] {
                sightViewThread(nullptr);
                done = true;
            });
            if (!within(20s, [&] { return sightview::feedStatistics().picturesShown > shown + 2; }))
                ++notDrawing;
            stateBlock.stopRender = true;
            if (!within(20s, [&] { return done.load(); })) {
                std::printf("  render cycle %d: the thread did not end within 20 s of the stop\n", i);
                ok = false;
            }
            render.join();
            if (i == 0)
                first = soak::processFigures();
        }
        stateBlock.stopRender = false;
        std::this_thread::sleep_for(1s);
        const auto after = soak::processFigures();
        std::printf("%d Start/stop-render cycles (%d without 3 pictures shown within 20 s)\n", cycles, notDrawing);
        print("render", before, first, after);
        ok = ok && notDrawing == 0 && flat(first, after);
    } else {
        std::printf("no display: render cycles left out\n");
    }

    // Join / Resign.
    {
        ChildProcess manager({bin + "/orva-executionmanager", "--execution", execution}, dir + "/manager.log", dir, true);
        std::this_thread::sleep_for(1s);
        ChildProcess uutsim({bin + "/uutsim", "--execution", execution, "--count", "2", "--rate", "10"},
                            dir + "/uutsim.log", dir, true);
        soak::ConsoleTap tap;
        soak::ConsoleRedirect redirect(tap);
        const auto before = soak::processFigures();
        soak::ProcessFigures first;
        int notFollowing = 0;
        for (int i = 0; i < cycles; ++i) {
            const auto passes = tap.passes.load();
            tap.platforms = -1;
            stateBlock.stopSession = false;
            std::atomic<bool> done{false};
            std::thread session([&done] {
                sessionThread(nullptr);
                done = true;
            });
            if (!within(20s, [&] { return tap.passes > passes + 2 && tap.platforms == 2; }))
                ++notFollowing;
            stateBlock.stopSession = true;
            if (!within(20s, [&] { return done.load(); })) {
                std::printf("  session cycle %d: the thread did not end within 20 s of Resign\n", i);
                ok = false;
            }
            session.join();
            if (i == 0)
                first = soak::processFigures();
        }
        std::this_thread::sleep_for(1s);
        const auto after = soak::processFigures();
        std::printf("%d Join/Resign cycles (%d without following the 2 Platforms within 20 s), %d error box(es)\n",
                    cycles, notFollowing, errorBoxes.load());
        print("session", before, first, after);
        ok = ok && notFollowing == 0 && errorBoxes == 0 && flat(first, after);
    }
    std::printf("soak_cycles: %s\n", ok ? "passed" : "FAILED");
    std::fflush(stdout);
    std::system(("rm -rf '" + dir + "'").c_str());
    return ok ? 0 : 1;
}
