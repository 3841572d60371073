// Range peers killed under VKRsim's session thread (the real thread, in this process, its console
// stream read as it is written):
//   1. 50 publishers (uutsim, one Platform each) killed with SIGKILL one after the other beside one
//      that stays: each must be seen destroyed within 1.5 s and the pass must come back to the
//      Platforms alive; memory, threads and descriptors compared before and after;
//   2. the execution manager killed while the session runs, Join tried while it is gone, the
//      manager restarted and Join tried again: what the operator is shown, and that nothing hangs.
// Message boxes are answered at once and written to standard output.
// Run by hand inside the private network:
//   scripts/isolated build/bin/soak_kills [PUBLISHERS]

#include "bench/support/benchtools.h"
#include "desktop/messagebox.h"
#include "rangelink/sessionthread.h"
#include "soak/support/consoletap.h"
#include "soak/support/procstat.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
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

std::atomic<int> greetings{0}, joinFailures{0}, errors{0};
std::atomic<std::int64_t> lastBoxNs{0};
std::int64_t startNs = 0;

void answerAtOnce(const desktop::MessageBoxRequest& request)
{
    lastBoxNs = bench::monotonicNs();
    if (request.text == "From Orva Subscriber")
        ++greetings;
    else if (request.text == "Unable to join ORVA Execution")
        ++joinFailures;
    else
        ++errors;
    std::printf("  [%7.2f s] box \"%s\" (\"%s\")\n", static_cast<double>(lastBoxNs - startNs) / 1e9,
                request.text.c_str(), request.caption.c_str());
    std::fflush(stdout);
}

template <typename Predicate>
bool within(std::chrono::milliseconds timeout, Predicate p)
{
    return vkrsim::test::eventually(p, timeout);
}

// Join ORVA: the session thread, with a flag telling when it has returned.
class Session {
public:
    Session()
    {
        stateBlock.stopSession = false;
        thread_ = std::thread([this] {
            sessionThread(nullptr);
            done_ = true;
        });
    }
    ~Session() { resign(60s); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool done() const { return done_; }
    // Resign ORVA; false when the thread had not returned within `timeout` (it is joined anyway).
    bool resign(std::chrono::milliseconds timeout)
    {
        if (!thread_.joinable())
            return true;
        stateBlock.stopSession = true;
        const bool inTime = within(timeout, [this] { return done_.load(); });
        thread_.join();
        return inTime;
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

void printFigures(const char* when, const soak::ProcessFigures& f)
{
    std::printf("  %s: resident %.1f MB, threads %d, descriptors %d\n", when, f.rssKb / 1024.0, f.threads, f.fds);
}

}  // namespace

int main(int argc, char** argv)
{
    const int publishers = argc > 1 ? std::atoi(argv[1]) : 50;
    const std::string bin = vkrsim::test::builtProgramDir();
    char pattern[] = "/tmp/soak-kills-XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0) {
        std::perror("soak_kills");
        return 1;
    }
    const std::string dir = pattern;
    const std::string execution = "SoakKills." + std::to_string(::getpid());
    std::ofstream("config.txt") << "ORVA.executionName=" << execution
                                << "\nORVA.sessionName=VKRsim\nORVA.LTP_latitude=0\nORVA.LTP_longitude=0\n"
                                   "ORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n";
    desktop::setMessageBoxHandler(&answerAtOnce);
    soak::ConsoleTap tap;
    soak::ConsoleRedirect redirect(tap);
    startNs = bench::monotonicNs();
    auto manager = std::make_unique<ChildProcess>(
        std::vector<std::string>{bin + "/orva-executionmanager", "--execution", execution},
        dir + "/manager.log", dir, true);
    std::this_thread::sleep_for(1s);
    auto uut = [&](int count, const std::string& log) {
        return std::make_unique<ChildProcess>(std::vector<std::string>{bin + "/uutsim", "--execution", execution,
                                                                       "--count",
                                                                       std::to_string(count), "--rate", "10"},
                                              log, dir, true);
    };
    auto keeper = uut(2, dir + "/keeper.log");
    bool ok = true;

    // 1. Publishers killed.
    std::printf("1. %d publishers killed with SIGKILL, 2 Platforms of another staying\n", publishers);
    {
        Session session;
        if (!within(20s, [&] { return tap.platforms == 2; })) {
            std::printf("  the session does not see the 2 Platforms (it sees %ld)\n", tap.platforms.load());
            return 1;
        }
        std::this_thread::sleep_for(3s);
        const auto before = soak::processFigures();
        std::vector<double> seenMs, backMs;
        int late = 0, lost = 0, notBack = 0;
        for (int i = 0; i < publishers; ++i) {
            auto victim = uut(1, "/dev/null");
            if (!within(15s, [&] { return tap.platforms == 3; })) {
                std::printf("  publisher %d not discovered\n", i);
                ++lost;
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200 + (i * 37) % 400));
            const auto destroyed = tap.destructions.load();
            victim->signal(SIGKILL);
            const std::int64_t killed = bench::monotonicNs();
            if (!within(5s, [&] { return tap.destructions > destroyed; })) {
                std::printf("  publisher %d: its Platform not seen destroyed within 5 s\n", i);
                ++lost;
                continue;
            }
            const double ms = static_cast<double>(tap.lastDestructionNs - killed) / 1e6;
            seenMs.push_back(ms);
            late += ms > 1500;
            if (!within(2s, [&] { return tap.platforms == 2; }))
                ++notBack;
            backMs.push_back(static_cast<double>(bench::monotonicNs() - killed) / 1e6);
            victim->wait(2s);
        }
        std::this_thread::sleep_for(3s);
        const auto after = soak::processFigures();
        std::printf("  kill -> destruction callback: median %.0f ms, p99 %.0f ms, max %.0f ms (%zu seen, %d over 1.5 s, "
                    "%d never)\n",
                    bench::percentile(seenMs, 0.5), bench::percentile(seenMs, 0.99), bench::percentile(seenMs, 1.0),
                    seenMs.size(), late, lost);
        std::printf("  kill -> pass back to the 2 Platforms alive: median %.0f ms, max %.0f ms (%d not back within 2 s); "
                    "last pass: %ld Platforms\n",
                    bench::percentile(backMs, 0.5), bench::percentile(backMs, 1.0), notBack, tap.platforms.load());
        printFigures("before", before);
        printFigures("after ", after);
        ok = ok && late == 0 && lost == 0 && notBack == 0;
        if (!session.resign(10s)) {
            std::printf("  Resign did not end the session within 10 s\n");
            ok = false;
        }
    }

    // 2. The execution manager killed while the session runs.
    std::printf("2. execution manager killed with SIGKILL while the session runs\n");
    {
        tap.platforms = -1;
        const auto joined = tap.passes.load();
        Session session;
        if (!within(20s, [&] { return tap.passes > joined + 5 && tap.platforms == 2; })) {
            std::printf("  the session does not follow the 2 Platforms\n");
            return 1;
        }
        const int errorsBefore = errors;
        manager->signal(SIGKILL);
        manager->wait(2s);
        const auto passes = tap.passes.load();
        std::this_thread::sleep_for(5s);
        std::printf("  5 s later: %llu passes ran, last with %ld Platforms, %d error box(es), session %s\n",
                    static_cast<unsigned long long>(tap.passes - passes), tap.platforms.load(), errors - errorsBefore,
                    session.done() ? "ended" : "running");
        const auto resignAt = bench::monotonicNs();
        const bool inTime = session.resign(10s);
        std::printf("  Resign: session ended in %.0f ms%s\n", static_cast<double>(bench::monotonicNs() - resignAt) / 1e6,
                    inTime ? "" : " (over 10 s: a hang)");
        ok = ok && inTime;
    }
    {
        const int failures = joinFailures;
        const auto joinAt = bench::monotonicNs();
        Session session;
        const bool ended = within(20s, [&] { return session.done(); });
        std::printf("  Join while no manager runs: %s after %.1f s, %d \"Unable to join\" box(es)\n",
                    ended ? "session thread returned" : "session thread STILL RUNNING",
                    static_cast<double>(bench::monotonicNs() - joinAt) / 1e9, joinFailures - failures);
        ok = ok && ended && joinFailures - failures == 1;
    }
    manager = std::make_unique<ChildProcess>(
        std::vector<std::string>{bin + "/orva-executionmanager", "--execution", execution},
        dir + "/manager2.log", dir, true);
    std::this_thread::sleep_for(1s);
    {
        const int failures = joinFailures;
        const auto passes = tap.passes.load();
        const auto joinAt = bench::monotonicNs();
        Session session;
        tap.platforms = -1;
        const bool following = within(20s, [&] { return tap.passes > passes && tap.platforms == 2; });
        std::printf("  Join after the manager was restarted: %s after %.0f ms (%d \"Unable to join\" box(es))\n",
                    following ? "following the 2 Platforms" : "NOT FOLLOWING",
                    static_cast<double>(bench::monotonicNs() - joinAt) / 1e6, joinFailures - failures);
        ok = ok && following && session.resign(10s);
    }
    std::printf("boxes: %d greeting(s), %d \"Unable to join\", %d other; console %.1f MB\n", greetings.load(),
                joinFailures.load(), errors.load(), static_cast<double>(tap.bytes) / 1e6);
    std::printf("soak_kills: %s\n", ok ? "passed" : "FAILED");
    std::fflush(stdout);
    keeper.reset();
    manager.reset();
    std::system(("rm -rf '" + dir + "'").c_str());
    return ok ? 0 : 1;
}
