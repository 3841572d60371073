// Range link latency and load, with the real session thread in this process and the range peers
// (execution manager, uutsim, a subscriber) as real processes.
// Run by hand inside the private network:
//   scripts/isolated <build>/bin/bench_rangelink [SECONDS [LOAD_SECONDS]]
//
// 1. reference: one Platform committed by uutsim at 100 Hz, commit (its time stamp) to the
//    state-change callback in the subscriber process; no session thread
// 2. end to end: the same with the session thread joined; Platform commit to the first VKRsim
//    update carrying its position, seen by the subscriber; the reference again, under that load
// 3. load: 200 Platform objects at 10 Hz, console log to a file; Platform passes of the session
//    thread (from the log as it is written) and the commit-to-VKRsim lag over the run, by thirds
//
// Message boxes are answered at once (an error box is counted and reported).

#include "bench/rangelink/cyclelog.h"
#include "bench/rangelink/lagmatcher.h"
#include "bench/rangelink/linkstats.h"
#include "bench/rangelink/probe.h"
#include "bench/support/benchtools.h"
#include "support/childprocess.h"
#include "stateblock/stateblock.h"
#include "desktop/messagebox.h"
#include "rangelink/sessionthread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

using linkbench::LagSample;
using linkbench::PassMarks;
using linkbench::Spread;

namespace {

std::atomic<int> errorBoxes{0};

void answerAtOnce(const desktop::MessageBoxRequest& request)
{
    if (request.caption == "Error!") {
        ++errorBoxes;
        std::cerr << "bench_rangelink - error box: " << request.text << std::endl;
    }
}

struct Phase {
    std::vector<LagSample> platform;  // commit -> Platform callback in the subscriber
    std::vector<LagSample> views;     // commit -> first VKRsim update with that position
    std::size_t unmatched = 0;
    std::vector<std::pair<std::string, std::int64_t>> commits;  // printed pose, commit ns
    std::unordered_map<std::string, std::int64_t> firstPrinted;  // printed pose -> first in a pass
    std::vector<PassMarks> passes;
    std::uint64_t logBytes = 0;
    double logSeconds = 0;
};

struct Setup {
    std::string programDir;
    std::string workDir;
    std::string execution;
};

void readProbe(const std::string& path, Phase& phase)
{
    std::ifstream in(path);
    std::string kind;
    while (in >> kind) {
        if (kind == "U") {
            in >> phase.unmatched;
            continue;
        }
        if (kind == "C") {
            long long committed = 0;
            std::string x, y;
            in >> committed >> x >> y;
            phase.commits.emplace_back(linkbench::printedPose(x, y), committed);
            continue;
        }
        long long seen = 0, lag = 0;
        in >> seen >> lag;
        (kind == "P" ? phase.platform : phase.views).push_back({seen, lag});
    }
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The session thread as Join starts it, with the console stream going to a CycleLog; Resign
// (and the wait for the running cycle to finish) when finished or destroyed.
class RunningSession {
public:
    explicit RunningSession(const std::string& logPath)
        : log_(logPath, &bench::systemNs), console_(std::cout.rdbuf(&log_))
    {
        stateBlock.stopSession = false;
        thread_ = std::thread([] { sessionThread(nullptr); });
    }
    ~RunningSession() { finish(); }
    RunningSession(const RunningSession&) = delete;
    RunningSession& operator=(const RunningSession&) = delete;

    // Resign; the log may be read after this.
    const linkbench::CycleLog& finish()
    {
        if (thread_.joinable()) {
            stateBlock.stopSession = true;
            thread_.join();
            std::cout.rdbuf(console_);
        }
        return log_;
    }

private:
    linkbench::CycleLog log_;
    std::streambuf* console_;
    std::thread thread_;
};

// uutsim publishes `count` Platforms at `rate` Hz for `seconds`; with `session`, the session thread
// runs meanwhile with its console log in `<work>/<name>.log`.
Phase runPhase(const Setup& setup, const std::string& name, int count, double rate, double seconds, bool session)
{
    Phase phase;
    const std::string result = setup.workDir + "/" + name + ".probe";
    vkrsim::test::ChildProcess probe({setup.programDir + "/bench_rangelink", "--role", "probe", "--execution", setup.execution,
                        "--out", result},
                       setup.workDir + "/" + name + ".probe.log");
    sleepMs(1500);  // joined and subscribed

    std::unique_ptr<RunningSession> running;
    if (session) {
        running = std::make_unique<RunningSession>(setup.workDir + "/" + name + ".log");
        sleepMs(1500);  // joined, subscribed, VKRsim object created
    }
    {
        vkrsim::test::ChildProcess uutsim({setup.programDir + "/uutsim", "--execution", setup.execution, "--count",
                             std::to_string(count), "--rate", std::to_string(rate), "--duration",
                             std::to_string(seconds)},
                            setup.workDir + "/" + name + ".uutsim.log");
        uutsim.wait(std::chrono::hours(24));
    }
    sleepMs(500);  // the last updates through
    if (running) {
        const linkbench::CycleLog& log = running->finish();
        phase.passes = log.passes();
        phase.firstPrinted = log.firstPrinted();
        phase.logBytes = log.bytes();
        if (phase.passes.size() > 1)
            phase.logSeconds = static_cast<double>(phase.passes.back().startNs - phase.passes.front().startNs) / 1e9;
    }
    probe.stop();
    readProbe(result, phase);
    return phase;
}

std::vector<double> lagsMs(const std::vector<LagSample>& samples, std::int64_t skipNs)
{
    return linkbench::lagSegmentsMs(samples, 1, skipNs).front();
}

void printSpread(const char* what, const Spread& s, const char* unit)
{
    std::printf("  %-44s median %9.3f %s   p99 %9.3f %s   max %9.3f %s   (%zu)\n", what, s.median, unit, s.p99,
                unit, s.max, unit, s.count);
}

// Pass durations and pass-to-pass intervals (ms), passes started within [fromNs, toNs).
void passFigures(const std::vector<PassMarks>& passes, std::int64_t fromNs, std::int64_t toNs,
                 std::vector<double>& passMs, std::vector<double>& cycleMs)
{
    for (std::size_t i = 0; i < passes.size(); ++i) {
        if (passes[i].startNs < fromNs || passes[i].startNs >= toNs)
            continue;
        passMs.push_back(static_cast<double>(passes[i].lastReportNs - passes[i].startNs) / 1e6);
        if (i + 1 < passes.size())
            cycleMs.push_back(static_cast<double>(passes[i + 1].startNs - passes[i].startNs) / 1e6);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string role, execution, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string o = argv[i], v = argv[i + 1];
        if (o == "--role") role = v;
        else if (o == "--execution") execution = v;
        else if (o == "--out") out = v;
    }
    if (role == "probe")
        return linkbench::runProbe(execution, out);

    const double seconds = argc > 1 ? std::atof(argv[1]) : 20;
    const double loadSeconds = argc > 2 ? std::atof(argv[2]) : 90;
    if (seconds < 3 || loadSeconds < 6) {
        std::cerr << "usage: bench_rangelink [SECONDS (>= 3) [LOAD_SECONDS (>= 6)]]" << std::endl;
        return 2;
    }

    Setup setup;
    setup.programDir = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/bench_rangelink.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("bench_rangelink - mkdtemp");
        return 1;
    }
    setup.workDir = pattern;
    setup.execution = "linkbench." + std::to_string(getpid());
    if (chdir(setup.workDir.c_str()) != 0) {
        std::perror("bench_rangelink - chdir");
        return 1;
    }
    // The frame origin is uutsim's default centre, so the UUT circles around the frame's origin.
    std::ofstream("config.txt") << "ORVA.executionName=" << setup.execution
                                << "\nORVA.sessionName=LinkBench\nORVA.LTP_latitude=0\nORVA.LTP_longitude=0\n"
                                   "ORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";
    desktop::setMessageBoxHandler(&answerAtOnce);

    Phase reference, endToEnd, load;
    {
        vkrsim::test::ChildProcess manager({setup.programDir + "/orva-executionmanager", "--execution", setup.execution},
                             "/dev/null");
        sleepMs(500);
        std::fprintf(stderr, "bench_rangelink: reference, %.0f s\n", seconds);
        reference = runPhase(setup, "reference", 1, 100, seconds, false);
        std::fprintf(stderr, "bench_rangelink: end to end, %.0f s\n", seconds);
        endToEnd = runPhase(setup, "endtoend", 1, 100, seconds, true);
        std::fprintf(stderr, "bench_rangelink: 200 Platforms at 10 Hz, %.0f s\n", loadSeconds);
        load = runPhase(setup, "load", 200, 10, loadSeconds, true);
    }

    const std::int64_t warmUp = 1000000000;  // first second of each phase: discovery, first samples
    const Spread ref = linkbench::spreadOf(lagsMs(reference.platform, warmUp));
    const Spread refLoaded = linkbench::spreadOf(lagsMs(endToEnd.platform, warmUp));
    // Commits of the first second (the objects' first states, before the first pass) left out.
    auto firstCommit = [](const Phase& p) {
        std::int64_t first = p.commits.empty() ? 0 : p.commits.front().second;
        for (const auto& c : p.commits)
            first = std::min(first, c.second);
        return first;
    };
    const auto e2ePrinted =
        linkbench::printedLags(endToEnd.commits, endToEnd.firstPrinted, firstCommit(endToEnd) + warmUp);
    const Spread inPass = linkbench::spreadOf(lagsMs(e2ePrinted.samples, 0));
    const Spread e2e = linkbench::spreadOf(lagsMs(endToEnd.views, warmUp));
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };

    std::printf("\nOne Platform at 100 Hz (ms)\n");
    printSpread("reference: commit -> Platform callback", ref, "ms");
    printSpread("same, session thread running", refLoaded, "ms");
    printSpread("commit -> first report line in a pass", inPass, "ms");
    printSpread("end to end: commit -> VKRsim update seen", e2e, "ms");
    std::printf("  end to end / reference:                     median %8.2f        p99 %8.2f\n",
                ratio(e2e.median, ref.median), ratio(e2e.p99, ref.p99));
    std::printf("  end to end / reference under load:          median %8.2f        p99 %8.2f\n",
                ratio(e2e.median, refLoaded.median), ratio(e2e.p99, refLoaded.p99));
    std::printf("  passes %zu; VKRsim positions without a matching commit %zu; commits never reported %zu, "
                "ambiguous %zu\n",
                endToEnd.passes.size(), endToEnd.unmatched, e2ePrinted.neverPrinted, e2ePrinted.ambiguous);

    std::printf("\n200 Platforms at 10 Hz, console log to a file (%.1f MB, %.2f MB/s)\n",
                static_cast<double>(load.logBytes) / 1e6,
                load.logSeconds > 0 ? static_cast<double>(load.logBytes) / 1e6 / load.logSeconds : 0.0);
    const auto loadPrinted = linkbench::printedLags(load.commits, load.firstPrinted, firstCommit(load) + warmUp);
    const auto passThirds = linkbench::lagSegmentsMs(loadPrinted.samples, 3, 0);
    const auto viewThirds = linkbench::lagSegmentsMs(load.views, 3, warmUp);
    const auto refThirds = linkbench::lagSegmentsMs(load.platform, 3, warmUp);
    std::int64_t first = 0, last = 0;
    if (!load.passes.empty()) {
        first = load.passes.front().startNs + warmUp;
        last = load.passes.back().startNs + 1;
    }
    const std::int64_t third = (last - first) / 3;
    const char* names[] = {"first third", "middle third", "last third"};
    for (int i = 0; i < 3; ++i) {
        std::vector<double> passMs, cycleMs;
        passFigures(load.passes, first + i * third, i == 2 ? last : first + (i + 1) * third, passMs, cycleMs);
        std::printf(" %s: %.1f passes/s\n", names[i],
                    third > 0 ? static_cast<double>(passMs.size()) / (static_cast<double>(third) / 1e9) : 0.0);
        printSpread("reference: commit -> Platform callback", linkbench::spreadOf(refThirds[i]), "ms");
        printSpread("lag: commit -> first report line in a pass", linkbench::spreadOf(passThirds[i]), "ms");
        printSpread("commit -> VKRsim update seen", linkbench::spreadOf(viewThirds[i]), "ms");
        printSpread("pass (count line to last report line)", linkbench::spreadOf(passMs), "ms");
        printSpread("cycle (pass start to next pass start)", linkbench::spreadOf(cycleMs), "ms");
    }
    const Spread lagFirst = linkbench::spreadOf(passThirds[0]), lagLast = linkbench::spreadOf(passThirds[2]);
    const double trend = linkbench::lagTrendMsPerMinute(loadPrinted.samples);
    const double neverShare = ratio(static_cast<double>(loadPrinted.neverPrinted),
                                    static_cast<double>(loadPrinted.samples.size() + loadPrinted.neverPrinted));
    std::printf("  lag trend over the run: %+.2f ms per minute; last / first third median %.2f, p99 %.2f\n", trend,
                ratio(lagLast.median, lagFirst.median), ratio(lagLast.p99, lagFirst.p99));
    std::printf("  lag / reference (whole run, median): %.2f\n",
                ratio(linkbench::spreadOf(lagsMs(loadPrinted.samples, 0)).median,
                      linkbench::spreadOf(lagsMs(load.platform, warmUp)).median));
    std::printf("  commits after the first second seen by the subscriber %zu: never reported in a pass %zu "
                "(%.2f %%), ambiguous %zu\n",
                loadPrinted.samples.size() + loadPrinted.neverPrinted + loadPrinted.ambiguous,
                loadPrinted.neverPrinted, 100 * neverShare, loadPrinted.ambiguous);
    // Keeping up: the lag at the end is no larger than at the start, give or take one update
    // period of uutsim (100 ms), it does not climb through the run, and passes skip almost no
    // update (keep-last-1 folds the updates of an object the session thread has not taken yet).
    const bool keepsUp = !passThirds[2].empty() && lagLast.median <= lagFirst.median + 100.0 &&
                         trend < 0.1 * 60 && neverShare < 0.01;
    std::printf("  keeps up (no growing lag): %s\n", keepsUp ? "yes" : "NO");
    if (errorBoxes > 0)
        std::printf("  %d error box(es) shown: see standard error\n", errorBoxes.load());

    std::system(("rm -rf '" + setup.workDir + "'").c_str());
    return errorBoxes > 0 ? 1 : 0;
}
