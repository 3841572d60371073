#include "bench/rangelink/probe.h"

#include "bench/rangelink/cyclelog.h"
#include "bench/rangelink/lagmatcher.h"
#include "bench/support/benchtools.h"
#include "middleware/middleware.h"
#include "models/mission/vkrsim.h"
#include "models/platform/platform.h"
#include "rangelink/configurationfile.h"
#include "rangelink/platformtracking.h"

#include <signal.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

using namespace rangelink;

namespace Middleware = ORVA::Middleware;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

namespace linkbench {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStop(int)
{
    stopRequested = 1;
}

// One callback per event that runs `action` on the proxy it concerns.
template <class ProxyHandle, class Tag>
class ActionFactory : public virtual Middleware::Callback::CallbackFactory<ProxyHandle, Tag> {
public:
    explicit ActionFactory(std::function<void(const ProxyHandle&)> action) : action_(std::move(action)) {}
    std::unique_ptr<Middleware::Callback::Callback> create(const ProxyHandle& proxy) override
    {
        return std::make_unique<Run>(action_, proxy);
    }

private:
    class Run : public Middleware::Callback::Callback {
    public:
        Run(std::function<void(const ProxyHandle&)> action, const ProxyHandle& proxy)
            : action_(std::move(action)), proxy_(proxy) {}
        void execute() override { action_(proxy_); }

    private:
        std::function<void(const ProxyHandle&)> action_;
        ProxyHandle proxy_;
    };
    std::function<void(const ProxyHandle&)> action_;
};

template <class ProxyHandle, class Tag>
using Null = Middleware::Callback::NullCallbackFactory<ProxyHandle, Tag>;

}  // namespace

int runProbe(const std::string& execution, const std::string& resultPath)
{
    struct sigaction action {};
    action.sa_handler = onStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    std::vector<LagSample> platformLatencies;
    // Position as the session thread prints it (default stream format), with the commit time.
    std::vector<std::pair<std::string, std::int64_t>> printedCommits;
    LagMatcher matcher;
    try {
        int argc = 2;
        const char* argv[] = {"-joinTimeout", "10000", nullptr};
        auto runtime = Middleware::init(Middleware::Configuration(argc, argv, "linkprobe", ""));
        auto joined = runtime->enterExecution(execution);
        auto session = joined->openSession("linkprobe");

        // The same frame as the session thread's, from the same config.txt (working directory).
        ConfigurationFile config;
        config.setFileName("config.txt");
        config.read();
        const LtpFrameHandle frame = setUpFrame(config);

        using namespace Middleware::Callback;
        namespace Platform = ORVA::Platform;
        namespace VKRsim = HALC::VKRsim;
        auto platformChanged = [&](const Platform::ProxyHandle& proxy) {
            const std::int64_t now = bench::systemNs();
            const auto state = proxy->getPublicationState();
            const auto stamp = state->get_timeStamp();
            const std::int64_t committed = stamp->get_seconds() * 1000000000 + stamp->get_nanoseconds();
            platformLatencies.push_back({now, now - committed});
            const auto position = state->get_tspi()->getPositionIn(frame);
            matcher.committed(poseKey(position->get_x(), position->get_y(), position->get_z()), committed);
            std::ostringstream x, y;
            x << position->get_x();
            y << position->get_y();
            printedCommits.emplace_back(printedPose(x.str(), y.str()), committed);
        };
        auto viewChanged = [&](const VKRsim::ProxyHandle& proxy) {
            const std::int64_t now = bench::systemNs();
            const auto state = proxy->getPublicationState();
            matcher.seen(poseKey(state->get_viewFromX(), state->get_viewFromY(), state->get_viewFromZ()), now);
        };
        session->subscribe(SmartPtr<Platform::SubscriptionInfo>(new Platform::SubscriptionInfo(
            SmartPtr<Platform::DiscoveryCallbackFactory>(new Null<Platform::ProxyHandle, DiscoveryTag>()),
            SmartPtr<Platform::StateChangeCallbackFactory>(
                new ActionFactory<Platform::ProxyHandle, StateChangeTag>(platformChanged)),
            SmartPtr<Platform::DestructionCallbackFactory>(new Null<Platform::ProxyHandle, DestructionTag>()))));
        session->subscribe(SmartPtr<VKRsim::SubscriptionInfo>(new VKRsim::SubscriptionInfo(
            SmartPtr<VKRsim::DiscoveryCallbackFactory>(new Null<VKRsim::ProxyHandle, DiscoveryTag>()),
            SmartPtr<VKRsim::StateChangeCallbackFactory>(
                new ActionFactory<VKRsim::ProxyHandle, StateChangeTag>(viewChanged)),
            SmartPtr<VKRsim::DestructionCallbackFactory>(new Null<VKRsim::ProxyHandle, DestructionTag>()))));

        while (!stopRequested)
            session->evokeMultipleCallbacks(10000);
    } catch (const std::exception& e) {
        std::cerr << "linkprobe - " << e.what() << std::endl;
        return 1;
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(resultPath.c_str(), "w"), &std::fclose);
    if (!out) {
        std::cerr << "linkprobe - cannot write " << resultPath << std::endl;
        return 1;
    }
    for (const auto& s : platformLatencies)
        std::fprintf(out.get(), "P %lld %lld\n", static_cast<long long>(s.seenNs), static_cast<long long>(s.lagNs));
    for (const auto& s : matcher.samples())
        std::fprintf(out.get(), "V %lld %lld\n", static_cast<long long>(s.seenNs), static_cast<long long>(s.lagNs));
    for (const auto& c : printedCommits)
        std::fprintf(out.get(), "C %lld %s\n", static_cast<long long>(c.second), c.first.c_str());
    std::fprintf(out.get(), "U %zu\n", matcher.unmatched());
    return 0;
}

}  // namespace linkbench
