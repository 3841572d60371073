// Middleware latency and throughput across processes, beside ddsperf in the same run.
// Run by hand inside the private network:  scripts/isolated <build>/bin/bench_middleware [SECONDS]
//
// 1. ddsperf ping/pong at 100 Hz (round trip; reference for latency)
// 2. one Platform object committed at 100 Hz in a child process, one-way latency from just before
//    commitUpdater to the state-change callback here (CLOCK_MONOTONIC is shared by the processes)
// 3. ddsperf pub/sub, 200-byte samples as fast as possible (reference for throughput)
// 4. 100 Platform objects committed round-robin as fast as possible in a child; state changes per
//    second delivered to callbacks here

#include "bench/support/benchtools.h"
#include "support/childprocess.h"
#include "middleware/middleware.h"
#include "models/platform/platform.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

using namespace ORVA;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;
using Child = vkrsim::test::ChildProcess;
using bench::monotonicNs;
using bench::percentile;
using vkrsim::test::readFile;

namespace {

// Median over ddsperf's per-second lines of the given statistic ("50%" or "99%"), microseconds.
double ddsperfRoundTrip(const std::string& text, const std::string& stat)
{
    std::vector<double> values;
    const std::regex line(" " + stat + " ([0-9.]+)us");
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it)
        values.push_back(std::stod((*it)[1]));
    return percentile(values, 0.5);
}

double ddsperfRate(const std::string& text)
{
    std::vector<double> values;
    const std::regex line("rate ([0-9.]+) kS/s");
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it)
        values.push_back(std::stod((*it)[1]) * 1000.0);
    if (values.size() > 2)
        values.erase(values.begin());  // the first second includes start-up
    return percentile(values, 0.5);
}

struct Member {
    SmartPtr<Middleware::Runtime> runtime;
    ManagedPtr<Middleware::Execution> execution;
    ManagedPtr<Middleware::Session> session;
    explicit Member(const std::string& name)
    {
        int argc = 2;
        const char* argv[] = {"-joinTimeout", "10000", nullptr};
        runtime = Middleware::init(Middleware::Configuration(argc, argv, "bench", ""));
        execution = runtime->enterExecution(name);
        session = execution->openSession("bench");
    }
};

// Publisher role: `objects` Platform objects, one commit per object per period (rate 0: no pause);
// the commit time goes into timeStamp as CLOCK_MONOTONIC seconds and nanoseconds.
int publish(const std::string& execution, int objects, double rate, double seconds)
{
    Member m(execution);
    auto info = SmartPtr<Platform::PublicationInfo>(new Platform::PublicationInfo(
        SmartPtr<Platform::RemoteMethodsFactoryInterface>(new Platform::RemoteMethodsFactoryInterface())));
    auto factory = m.session->makeServantFactory<Platform::ServantTraits>(info);
    std::vector<ManagedPtr<Platform::Servant>> servants;
    for (int i = 0; i < objects; ++i)
        servants.push_back(factory->createServant(Middleware::CommunicationProperties(1),
                                                  Middleware::ConcurrencyProperties(1)));
    usleep(500000);  // let the subscriber discover them
    const std::int64_t end = monotonicNs() + static_cast<std::int64_t>(seconds * 1e9);
    const std::int64_t period = rate > 0 ? static_cast<std::int64_t>(1e9 / rate) : 0;
    std::int64_t next = monotonicNs();
    const std::int64_t start = next;
    std::uint64_t commits = 0;
    while (monotonicNs() < end) {
        if (period) {
            next += period;
            const timespec at{static_cast<time_t>(next / 1000000000), static_cast<long>(next % 1000000000)};
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        }
        for (auto& s : servants) {
            auto u = s->createUpdater();
            const std::int64_t now = monotonicNs();
            u->set_timeStamp(Time::Interface::create(now / 1000000000, static_cast<std::uint32_t>(now % 1000000000)));
            s->commitUpdater(std::move(u));
            ++commits;
        }
    }
    if (rate == 0)
        std::printf("  (publisher committed %.0f per second)\n",
                    static_cast<double>(commits) / (static_cast<double>(monotonicNs() - start) / 1e9));
    return 0;
}

class Probe : public Middleware::Callback::Callback {
public:
    Probe(std::vector<double>* latencies, const Platform::ProxyHandle& proxy) : latencies_(latencies), proxy_(proxy) {}
    void execute() override
    {
        const std::int64_t now = monotonicNs();
        const auto stamp = proxy_->getPublicationState()->get_timeStamp();
        const std::int64_t sent = stamp->get_seconds() * 1000000000 + stamp->get_nanoseconds();
        if (sent > 0)
            latencies_->push_back(static_cast<double>(now - sent) / 1000.0);
    }

private:
    std::vector<double>* latencies_;
    Platform::ProxyHandle proxy_;
};

class ProbeFactory : public virtual Platform::StateChangeCallbackFactory {
public:
    explicit ProbeFactory(std::vector<double>* latencies) : latencies_(latencies) {}
    std::unique_ptr<Middleware::Callback::Callback> create(const Platform::ProxyHandle& proxy) override
    {
        return std::make_unique<Probe>(latencies_, proxy);
    }

private:
    std::vector<double>* latencies_;
};

// Subscribes, runs the publisher child, and gives the latencies of every state change (us) and
// the time over which they came.
std::vector<double> measure(const std::string& self, const std::string& execution, int objects, double rate,
                            double seconds, double& spanSeconds)
{
    Member m(execution);
    std::vector<double> latencies;
    using namespace Middleware::Callback;
    m.session->subscribe(SmartPtr<Platform::SubscriptionInfo>(new Platform::SubscriptionInfo(
        SmartPtr<Platform::DiscoveryCallbackFactory>(new NullCallbackFactory<Platform::ProxyHandle, DiscoveryTag>()),
        SmartPtr<Platform::StateChangeCallbackFactory>(new ProbeFactory(&latencies)),
        SmartPtr<Platform::DestructionCallbackFactory>(
            new NullCallbackFactory<Platform::ProxyHandle, DestructionTag>()))));
    Child publisher({self, "--role", "publisher", "--execution", execution, "--objects", std::to_string(objects),
                     "--rate", std::to_string(rate), "--seconds", std::to_string(seconds)});
    const std::int64_t end = monotonicNs() + static_cast<std::int64_t>((seconds + 3) * 1e9);
    std::int64_t first = 0, last = 0;
    while (monotonicNs() < end) {
        if (m.session->evokeMultipleCallbacks(10000) > 0) {
            last = monotonicNs();
            if (!first)
                first = last;
        }
    }
    publisher.wait(std::chrono::hours(24));
    spanSeconds = static_cast<double>(last - first) / 1e9;
    return latencies;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string role, execution;
    int objects = 1;
    double rate = 100, seconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string o = argv[i], v = argv[i + 1];
        if (o == "--role") role = v;
        else if (o == "--execution") execution = v;
        else if (o == "--objects") objects = std::stoi(v);
        else if (o == "--rate") rate = std::stod(v);
        else if (o == "--seconds") seconds = std::stod(v);
    }
    if (role == "publisher")
        return publish(execution, objects, rate, seconds);
    if (argc == 2)
        seconds = std::stod(argv[1]);

    const std::string dir = vkrsim::test::builtProgramDir(), self = dir + "/bench_middleware";
    execution = "bench." + std::to_string(getpid());
    Child manager({dir + "/orva-executionmanager", "--execution", execution}, "/dev/null");

    const std::string tmp = "/tmp/bench_middleware." + std::to_string(getpid());
    const std::string secs = std::to_string(static_cast<int>(seconds));
    {
        Child pong({"/usr/bin/ddsperf", "-D", std::to_string(static_cast<int>(seconds) + 2), "pong", "waitset"},
                   tmp + ".pong");
        Child ping({"/usr/bin/ddsperf", "-D", secs, "ping", "100Hz", "waitset"}, tmp + ".ping");
        ping.wait(std::chrono::hours(24));
    }
    const std::string pingText = readFile(tmp + ".ping");
    const double rtt50 = ddsperfRoundTrip(pingText, "50%"), rtt99 = ddsperfRoundTrip(pingText, "99%");

    double span = 0;
    auto latencies = measure(self, execution, 1, 100, seconds, span);
    if (latencies.size() > 100)
        latencies.erase(latencies.begin(), latencies.begin() + 100);  // first second: warm-up
    const double one50 = percentile(latencies, 0.5), one99 = percentile(latencies, 0.99);

    {
        Child sub({"/usr/bin/ddsperf", "-D", std::to_string(static_cast<int>(seconds) + 2), "sub", "waitset"},
                  tmp + ".sub");
        usleep(300000);
        Child pub({"/usr/bin/ddsperf", "-D", secs, "pub", "size", "200"}, tmp + ".pub");
        pub.wait(std::chrono::hours(24));
    }
    const double ddsRate = ddsperfRate(readFile(tmp + ".sub"));
    const auto changes = measure(self, execution, 100, 0, seconds, span);
    const double ourRate = span > 0 ? static_cast<double>(changes.size()) / span : 0;
    for (const char* suffix : {".ping", ".pong", ".sub", ".pub"})
        std::remove((tmp + suffix).c_str());

    std::printf("ddsperf round trip at 100 Hz:       median %8.1f us   p99 %8.1f us\n", rtt50, rtt99);
    std::printf("commit -> state-change callback:    median %8.1f us   p99 %8.1f us   (%zu samples)\n", one50,
                one99, latencies.size());
    std::printf("  ratio to ddsperf half round trip: median %8.2f       p99 %8.2f\n", one50 / (rtt50 / 2),
                one99 / (rtt99 / 2));
    std::printf("  target: median <= 2 x half round trip + 100 us = %.1f us: %s\n", rtt50 + 100,
                one50 <= rtt50 + 100 ? "met" : "NOT met");
    std::printf("ddsperf pub/sub 200 bytes:          %10.0f samples/s\n", ddsRate);
    std::printf("100 objects, state changes:         %10.0f per second delivered   ratio %.3f\n", ourRate,
                ddsRate > 0 ? ourRate / ddsRate : 0.0);
    return 0;
}
