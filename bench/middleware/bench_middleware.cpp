// Middleware latency and throughput across processes, beside ddsperf in the same run.
// Run by hand inside the private network:  scripts/isolated <build>/bin/bench_middleware [SECONDS]
//
// 1. ddsperf ping/pong at 100 Hz (round trip; reference for latency)
// 2. one Platform object committed at 100 Hz in a child process, one-way latency from just before
//    commitUpdater to the state-change callback here (CLOCK_MONOTONIC is shared by the processes)
// 2b. at the same time, 5 ms out of step with 2., the same hop through a plain Cyclone writer and
//    reader of the Platform wire type with the state topics' QoS (rawhop.h), in two more child
//    processes: the floor under our hop on this machine, under the same load
// 3. our round trip at 100 Hz, the same shape as ddsperf's ping/pong: this process commits a
//    Platform object, a child's state-change callback commits its own object with the same time
//    stamp, and the callback here takes the time. ddsperf's half round trip is one leg from a
//    subscriber idle for 10 ms plus one leg to a ping that went to sleep microseconds before, so
//    it is no one-way figure at 100 Hz; the round trips compare like with like.
// 4. ddsperf pub/sub, 200-byte samples as fast as possible (reference for throughput)
// 5. 100 Platform objects committed round-robin as fast as possible in a child; state changes per
//    second delivered to callbacks here

#include "bench/middleware/rawhop.h"
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
    // On the 10 ms grid that the plain Cyclone sender keeps 5 ms away from.
    std::int64_t next = period ? bench::alignedStart(period, 0) - period : monotonicNs();
    const std::int64_t start = monotonicNs();
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

// Calls `action` with the proxy of every state change.
template <class Action>
class StateChangeFactory : public virtual Platform::StateChangeCallbackFactory {
public:
    explicit StateChangeFactory(Action action) : action_(action) {}
    std::unique_ptr<Middleware::Callback::Callback> create(const Platform::ProxyHandle& proxy) override
    {
        return std::make_unique<Run>(action_, proxy);
    }

private:
    class Run : public Middleware::Callback::Callback {
    public:
        Run(Action action, const Platform::ProxyHandle& proxy) : action_(action), proxy_(proxy) {}
        void execute() override { action_(proxy_); }

    private:
        Action action_;
        Platform::ProxyHandle proxy_;
    };
    Action action_;
};

template <class Action>
void subscribeStateChanges(Member& m, Action action)
{
    using namespace Middleware::Callback;
    m.session->subscribe(SmartPtr<Platform::SubscriptionInfo>(new Platform::SubscriptionInfo(
        SmartPtr<Platform::DiscoveryCallbackFactory>(new NullCallbackFactory<Platform::ProxyHandle, DiscoveryTag>()),
        SmartPtr<Platform::StateChangeCallbackFactory>(new StateChangeFactory<Action>(action)),
        SmartPtr<Platform::DestructionCallbackFactory>(
            new NullCallbackFactory<Platform::ProxyHandle, DestructionTag>()))));
}

ManagedPtr<Platform::Servant> makeServant(Member& m)
{
    auto info = SmartPtr<Platform::PublicationInfo>(new Platform::PublicationInfo(
        SmartPtr<Platform::RemoteMethodsFactoryInterface>(new Platform::RemoteMethodsFactoryInterface())));
    return m.session->makeServantFactory<Platform::ServantTraits>(info)->createServant(
        Middleware::CommunicationProperties(1), Middleware::ConcurrencyProperties(1));
}

std::int64_t stampOf(const Platform::ProxyHandle& proxy)
{
    const auto stamp = proxy->getPublicationState()->get_timeStamp();
    return stamp->get_seconds() * 1000000000 + stamp->get_nanoseconds();
}

// Pong role: every state change of the other's object is answered by a commit of ours carrying its
// time stamp, from inside the callback as the session thread of the range link does. Prints the
// median and p99 of the first leg (us).
int pong(const std::string& execution, double seconds)
{
    Member m(execution);
    auto servant = makeServant(m);
    std::vector<double> leg;
    subscribeStateChanges(m, [&servant, &leg](const Platform::ProxyHandle& proxy) {
        const std::int64_t now = monotonicNs(), sent = stampOf(proxy);
        leg.push_back(static_cast<double>(now - sent) / 1000.0);
        auto u = servant->createUpdater();
        u->set_timeStamp(Time::Interface::create(sent / 1000000000, static_cast<std::uint32_t>(sent % 1000000000)));
        servant->commitUpdater(std::move(u));
    });
    const std::int64_t end = monotonicNs() + static_cast<std::int64_t>(seconds * 1e9);
    while (monotonicNs() < end)
        m.session->evokeMultipleCallbacks(10000);
    if (leg.size() > 100)
        leg.erase(leg.begin(), leg.begin() + 100);
    std::printf("%.1f %.1f\n", percentile(leg, 0.5), percentile(leg, 0.99));
    return 0;
}

// Ping side of our round trip at `rate` Hz; gives the round trips (us), the first second dropped.
std::vector<double> roundTrips(const std::string& self, const std::string& execution, double seconds,
                               const std::string& legFile)
{
    Member m(execution);
    auto servant = makeServant(m);
    std::vector<double> trips;
    subscribeStateChanges(m, [&trips](const Platform::ProxyHandle& proxy) {
        const std::int64_t sent = stampOf(proxy);
        if (sent > 0)
            trips.push_back(static_cast<double>(monotonicNs() - sent) / 1000.0);
    });
    Child other({self, "--role", "pong", "--execution", execution, "--seconds", std::to_string(seconds + 2.5)},
                legFile);
    const std::int64_t start = monotonicNs();
    while (monotonicNs() < start + 1500000000)  // both objects discovered
        m.session->evokeMultipleCallbacks(10000);
    const std::int64_t period = 10000000, end = monotonicNs() + static_cast<std::int64_t>(seconds * 1e9);
    for (std::int64_t next = monotonicNs(); next < end; next += period) {
        auto u = servant->createUpdater();
        const std::int64_t now = monotonicNs();
        u->set_timeStamp(Time::Interface::create(now / 1000000000, static_cast<std::uint32_t>(now % 1000000000)));
        servant->commitUpdater(std::move(u));
        for (std::int64_t left = next + period - monotonicNs(); left > 0; left = next + period - monotonicNs())
            m.session->evokeMultipleCallbacks(static_cast<unsigned long>(left / 1000));
    }
    other.wait(std::chrono::hours(24));
    if (trips.size() > 100)
        trips.erase(trips.begin(), trips.begin() + 100);
    return trips;
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
    std::string role, execution, topic;
    int objects = 1;
    double rate = 100, seconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string o = argv[i], v = argv[i + 1];
        if (o == "--role") role = v;
        else if (o == "--execution") execution = v;
        else if (o == "--objects") objects = std::stoi(v);
        else if (o == "--rate") rate = std::stod(v);
        else if (o == "--seconds") seconds = std::stod(v);
        else if (o == "--topic") topic = v;
    }
    if (role == "publisher")
        return publish(execution, objects, rate, seconds);
    if (role == "pong")
        return pong(execution, seconds);
    if (role == "rawpub")
        return bench::rawPublish(topic, 5000000, seconds);
    if (role == "rawsub")
        return bench::rawSubscribe(topic, seconds);
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
    std::vector<double> latencies;
    {
        const std::string rawTopic = "bench_raw_" + std::to_string(getpid());
        Child rawSub({self, "--role", "rawsub", "--topic", rawTopic, "--seconds", std::to_string(seconds)},
                     tmp + ".raw");
        Child rawPub({self, "--role", "rawpub", "--topic", rawTopic, "--seconds", std::to_string(seconds)});
        latencies = measure(self, execution, 1, 100, seconds, span);
        rawPub.wait(std::chrono::hours(24));
        rawSub.wait(std::chrono::hours(24));
    }
    if (latencies.size() > 100)
        latencies.erase(latencies.begin(), latencies.begin() + 100);  // first second: warm-up
    const double one50 = percentile(latencies, 0.5), one99 = percentile(latencies, 0.99);
    double raw50 = 0, raw99 = 0;
    std::size_t rawCount = 0;
    std::sscanf(readFile(tmp + ".raw").c_str(), "%lf %lf %zu", &raw50, &raw99, &rawCount);

    const auto trips = roundTrips(self, execution, seconds, tmp + ".leg");
    const double our50 = percentile(trips, 0.5), our99 = percentile(trips, 0.99);
    double leg50 = 0, leg99 = 0;
    std::sscanf(readFile(tmp + ".leg").c_str(), "%lf %lf", &leg50, &leg99);

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
    for (const char* suffix : {".ping", ".pong", ".sub", ".pub", ".leg", ".raw"})
        std::remove((tmp + suffix).c_str());

    std::printf("ddsperf round trip at 100 Hz:       median %8.1f us   p99 %8.1f us\n", rtt50, rtt99);
    std::printf("commit -> state-change callback:    median %8.1f us   p99 %8.1f us   (%zu samples)\n", one50,
                one99, latencies.size());
    std::printf("  ratio to ddsperf half round trip: median %8.2f       p99 %8.2f\n", one50 / (rtt50 / 2),
                one99 / (rtt99 / 2));
    std::printf("  target: median <= 2 x half round trip + 100 us = %.1f us: %s\n", rtt50 + 100,
                one50 <= rtt50 + 100 ? "met" : "NOT met");
    std::printf("plain Cyclone, same type and QoS:   median %8.1f us   p99 %8.1f us   (%zu samples)\n", raw50,
                raw99, rawCount);
    std::printf("  ours / plain Cyclone:             median %8.2f       p99 %8.2f\n", one50 / raw50,
                one99 / raw99);
    std::printf("our round trip at 100 Hz:           median %8.1f us   p99 %8.1f us   (%zu samples)\n", our50,
                our99, trips.size());
    std::printf("  first leg (to the idle pong):     median %8.1f us   p99 %8.1f us\n", leg50, leg99);
    std::printf("  ratio to ddsperf round trip:      median %8.2f       p99 %8.2f\n", our50 / rtt50,
                our99 / rtt99);
    std::printf("ddsperf pub/sub 200 bytes:          %10.0f samples/s\n", ddsRate);
    std::printf("100 objects, state changes:         %10.0f per second delivered   ratio %.3f\n", ourRate,
                ddsRate > 0 ? ourRate / ddsRate : 0.0);
    return 0;
}
