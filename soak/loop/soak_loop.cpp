// The closed loop left running: the VKRsim program (sight window and session thread, driven with
// xdotool as the operator would), scenegen at 30 pictures/s, uutsim with 20 Platforms at 10 Hz, an
// execution manager. Every minute: resident memory, threads and descriptors of VKRsim and scenegen.
// At the start and at the end, for one window each: the link latency (Platform commit to the first
// VKRsim update carrying its position, seen by a probe process, beside the middleware's own hop)
// and the pictures per second on the group.
// Run by hand inside the private network with a display:
//   scripts/isolated scripts/with-display build/bin/soak_loop [MINUTES [WINDOW_SECONDS]]
// Samples go to standard output as they are taken; the work folder is kept (its path is printed),
// with the peers' logs and a screenshot of the display at the start and at the end.

#include "bench/rangelink/lagmatcher.h"
#include "bench/rangelink/linkstats.h"
#include "bench/support/benchtools.h"
#include "soak/support/procstat.h"
#include "support/childprocess.h"
#include "support/groupsocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

const char* const kGroup = "239.255.42.61";

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p))
            out += buffer;
        ::pclose(p);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The datagrams on the group, counted.
class Counter {
public:
    Counter() : socket_(kGroup, 2000) {}
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;
    // Pictures per second over `seconds`.
    double rate(double seconds)
    {
        std::vector<char> buffer(70000);
        long n = 0;
        const std::int64_t end = bench::monotonicNs() + static_cast<std::int64_t>(seconds * 1e9);
        while (bench::monotonicNs() < end) {
            pollfd p{socket_.fd(), POLLIN, 0};
            if (::poll(&p, 1, 100) == 1 && ::recv(socket_.fd(), buffer.data(), buffer.size(), 0) >= 0)
                ++n;
        }
        return static_cast<double>(n) / seconds;
    }

private:
    vkrsim::test::GroupSocket socket_;
};

// The operator at VKRsim's dialog (client area 320 x 190 dialog units).
class Operator {
public:
    explicit Operator(int pid)
    {
        window_ = run("timeout 30 xdotool search --sync --onlyvisible --pid " + std::to_string(pid) +
                      " --name '^VKRsim$' | head -n1");
    }
    bool found() const { return !window_.empty(); }
    void click(double x, double y)
    {
        int width = 0, height = 0;
        std::sscanf(run("xdotool getwindowgeometry --shell " + window_ + " | grep -E '^(WIDTH|HEIGHT)=' | "
                        "cut -d= -f2 | tr '\\n' ' '").c_str(),
                    "%d %d", &width, &height);
        run("xdotool windowraise " + window_);
        run("xdotool mousemove --window " + window_ + " " + std::to_string(int(x * width / 320)) + " " +
            std::to_string(int(y * height / 190)) + " click 1");
    }
    void start() { click(43, 18.5); }
    void join() { click(43, 41.5); }
    void ok() { click(288, 15); }
    // Dismisses the greeting box (its title is the program's name, as the dialog's is) once it
    // shows; false when none came within `seconds`.
    bool answerGreeting(int pid, int seconds)
    {
        for (int i = 0; i < seconds * 5; ++i) {
            std::string list = run("xdotool search --onlyvisible --pid " + std::to_string(pid) + " --name '^VKRsim$'");
            std::size_t at = 0;
            while (at < list.size()) {
                std::size_t end = list.find('\n', at);
                if (end == std::string::npos)
                    end = list.size();
                const std::string id = list.substr(at, end - at);
                at = end + 1;
                if (!id.empty() && id != window_) {
                    run("xdotool windowraise " + id + " windowfocus --sync " + id + " key Return");
                    return true;
                }
            }
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }

private:
    std::string window_;
};

struct Window {
    linkbench::Spread reference;  // Platform commit -> Platform callback in the probe, ms
    linkbench::Spread link;       // Platform commit -> first VKRsim update with its position, ms
    double pictures = 0;          // per second on the group
};

// One measuring window: a probe process subscribed for `seconds`, the group counted meanwhile.
Window measure(const std::string& bin, const std::string& dir, const std::string& execution, const std::string& name,
               double seconds, Counter& counter)
{
    const std::string result = dir + "/" + name + ".probe";
    {
        ChildProcess probe({bin + "/bench_rangelink", "--role", "probe", "--execution", execution, "--out", result},
                           dir + "/" + name + ".probe.log", dir);
        std::this_thread::sleep_for(2s);  // joined and subscribed
        Window w;
        w.pictures = counter.rate(seconds);
        probe.stop(10s);
        std::vector<linkbench::LagSample> platform, views;
        std::ifstream in(result);
        std::string kind, rest;
        while (in >> kind) {
            if (kind == "P" || kind == "V") {
                long long seen = 0, lag = 0;
                in >> seen >> lag;
                (kind == "P" ? platform : views).push_back({seen, lag});
            } else {
                std::getline(in, rest);
            }
        }
        // The first second after the probe joined: late-joiner states, not live updates.
        w.reference = linkbench::spreadOf(linkbench::lagSegmentsMs(platform, 1, 1000000000).front());
        w.link = linkbench::spreadOf(linkbench::lagSegmentsMs(views, 1, 1000000000).front());
        return w;
    }
}

void printWindow(const char* when, const Window& w)
{
    std::printf("%s: pictures on the group %.1f/s; Platform commit -> VKRsim update median %.2f ms p99 %.2f ms "
                "(%zu); middleware hop median %.2f ms p99 %.2f ms (%zu)\n",
                when, w.pictures, w.link.median, w.link.p99, w.link.count, w.reference.median, w.reference.p99,
                w.reference.count);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const double minutes = argc > 1 ? std::atof(argv[1]) : 60;
    const double window = argc > 2 ? std::atof(argv[2]) : 60;
    if (minutes * 60 < 3 * window || window < 5) {
        std::fprintf(stderr, "usage: soak_loop [MINUTES [WINDOW_SECONDS (>= 5, at most a third of the run)]]\n");
        return 2;
    }
    if (!std::getenv("DISPLAY") || run("command -v xdotool").empty()) {
        std::fprintf(stderr, "soak_loop: needs an X display and xdotool\n");
        return 1;
    }
    const std::string bin = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/soak-loop-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("soak_loop: mkdtemp");
        return 1;
    }
    const std::string dir = pattern;
    const std::string execution = "SoakLoop." + std::to_string(::getpid());
    // The frame's origin is uutsim's default centre: the units circle it.
    std::ofstream(dir + "/config.txt") << "ORVA.executionName=" << execution
                                       << "\nORVA.sessionName=VKRsim\nORVA.LTP_latitude=0\nORVA.LTP_longitude=0\n"
                                          "ORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";
    std::ofstream(dir + "/SceneGeneratorconfig.xml") << "<MGXML><multicast_address>" << kGroup
                                                     << "</multicast_address><modelpath><path>" << VKRSIM_DATA_DIR
                                                     << "</path></modelpath></MGXML>\n";
    std::printf("soak_loop: %.0f min, windows of %.0f s, work folder %s\n", minutes, window, dir.c_str());
    std::fflush(stdout);

    ChildProcess manager({bin + "/orva-executionmanager", "--execution", execution},
                         dir + "/manager.log", dir, true);
    std::this_thread::sleep_for(1s);
    ChildProcess uutsim({bin + "/uutsim", "--execution", execution, "--count", "20",
                         "--rate", "10"},
                        dir + "/uutsim.log", dir, true);
    ChildProcess scenegen({bin + "/scenegen", "--execution", execution, "--config", dir,
                           "--rate", "30"},
                          dir + "/scenegen.log", dir, true);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // The console log of 20 Platforms fills a disk in hours; it is written and thrown away.
    ChildProcess vkrsim({bin + "/VKRsim"}, "/dev/null", dir);
    Operator op(vkrsim.pid());
    if (!op.found()) {
        std::fprintf(stderr, "soak_loop: VKRsim's dialog did not show\n");
        return 1;
    }
    op.start();
    std::this_thread::sleep_for(7s);  // the dialog waits 5 s after Start VKR
    op.join();
    if (!op.answerGreeting(vkrsim.pid(), 20))
        std::fprintf(stderr, "soak_loop: no greeting box after Join ORVA\n");
    std::this_thread::sleep_for(10s);  // joined, passes running, pictures flowing

    Counter counter;
    const std::int64_t start = bench::monotonicNs();
    auto elapsedMin = [&] { return static_cast<double>(bench::monotonicNs() - start) / 60e9; };
    auto sample = [&] {
        const auto v = soak::processFigures(vkrsim.pid());
        const auto s = soak::processFigures(scenegen.pid());
        std::printf("%6.1f min  VKRsim rss %7.1f MB threads %3d fds %3d   scenegen rss %7.1f MB threads %3d fds %3d\n",
                    elapsedMin(), v.rssKb / 1024.0, v.threads, v.fds, s.rssKb / 1024.0, s.threads, s.fds);
        std::fflush(stdout);
    };
    sample();
    const Window first = measure(bin, dir, execution, "start", window, counter);
    printWindow("start", first);
    run("import -window root " + dir + "/start.png");
    sample();
    const double endOfMiddle = minutes - window / 60 - 0.1;
    while (elapsedMin() < endOfMiddle && vkrsim.running() && scenegen.running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(
            static_cast<int>(std::min(60.0, (endOfMiddle - elapsedMin()) * 60 + 0.01) * 1000)));
        sample();
    }
    const bool alive = vkrsim.running() && scenegen.running() && uutsim.running();
    const Window last = measure(bin, dir, execution, "end", window, counter);
    printWindow("end", last);
    run("import -window root " + dir + "/end.png");
    sample();
    std::printf("all peers alive to the end: %s\n", alive && vkrsim.running() && scenegen.running() ? "yes" : "NO");

    op.ok();
    const auto status = vkrsim.wait(15s);
    std::printf("VKRsim after OK: %s\n",
                status ? ("exit status " + std::to_string(*status)).c_str() : "still running after 15 s");
    std::fflush(stdout);
    return alive ? 0 : 1;
}
