#include "tools/rangemon/monitor.h"

#include "rangeprogram/middlewareoptions.h"

#include <vector>

namespace rangemon {

namespace {

// Microseconds that one evokeMultipleCallbacks waits when nothing is queued: short, so that a
// stop request or the end of the duration is noticed within about 10 ms.
constexpr unsigned long callbackWaitLimit = 10000;

}  // namespace

Monitor::Monitor(const std::string& execution, const std::string& initRef)
{
    rangeprogram::MiddlewareOptions options(initRef, execution, "rangemon");
    const ORVA::Middleware::Configuration configuration(options.argc(), options.argv(), "rangemon", "");
    pRuntime_ = ORVA::Middleware::init(configuration);
    pExecution_ = pRuntime_->enterExecution(execution);
    pSession_ = pExecution_->openSession("rangemon");
}

template <class CallbackInfo, class SubscriptionInfoImpl>
ORVA::Middleware::SmartPtr<CallbackInfo> Monitor::subscribe(std::ostream& out, std::uint32_t verbosity)
{
    const ORVA::Middleware::SmartPtr<CallbackInfo> info(new CallbackInfo(out, verbosity));
    pSession_->subscribe(ORVA::Middleware::SmartPtr<SubscriptionInfoImpl>(new SubscriptionInfoImpl(info)));
    return info;
}

void Monitor::subscribeAll(std::ostream& out, std::uint32_t verbosity)
{
    namespace Platform = ORVA::Platform::BasicImpl;
    namespace PlatformExtension = ORVA::PlatformExtension::BasicImpl;
    namespace VKRsim = HALC::VKRsim::BasicImpl;
    namespace SceneGenerator = HALC::SceneGenerator::BasicImpl;
    namespace ForceFeedback = HALC::ForceFeedback::BasicImpl;
    pPlatformInfo_ = subscribe<Platform::CallbackInfo, Platform::SubscriptionInfoImpl>(out, verbosity);
    pPlatformExtensionInfo_ =
        subscribe<PlatformExtension::CallbackInfo, PlatformExtension::SubscriptionInfoImpl>(out, verbosity);
    pVKRsimInfo_ = subscribe<VKRsim::CallbackInfo, VKRsim::SubscriptionInfoImpl>(out, verbosity);
    pSceneGeneratorInfo_ =
        subscribe<SceneGenerator::CallbackInfo, SceneGenerator::SubscriptionInfoImpl>(out, verbosity);
    pForceFeedbackInfo_ = subscribe<ForceFeedback::CallbackInfo, ForceFeedback::SubscriptionInfoImpl>(out, verbosity);
}

void Monitor::run(const rangeprogram::StopSignals& stop, std::optional<std::chrono::duration<double>> duration)
{
    const auto start = std::chrono::steady_clock::now();
    while (!stop.poll()) {
        if (duration && std::chrono::steady_clock::now() - start >= *duration)
            break;
        pSession_->evokeMultipleCallbacks(callbackWaitLimit);
    }
}

}  // namespace rangemon
