#pragma once
// What rangemon holds while it watches an execution: the joined session and, for each object
// class of the platform and mission models, the basic implementation's record and subscription.
// Used from one thread; every callback runs inside run(), on that thread.

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"
#include "rangeprogram/stopsignals.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace rangemon {

class Monitor {
public:
    // Joins `execution` and opens a session. Raises the middleware's Exception when the init
    // reference is malformed, the transport cannot start or the execution cannot be joined.
    Monitor(const std::string& execution, const std::string& initRef);

    // Subscribes to all five classes, each logging to `out` at `verbosity`.
    void subscribeAll(std::ostream& out, std::uint32_t verbosity);

    // Runs the callback cycle until a stop signal comes or `duration` (if any) has passed. A failure
    // inside a callback leaves as the middleware's exception.
    void run(const rangeprogram::StopSignals& stop, std::optional<std::chrono::duration<double>> duration);

private:
    template <class CallbackInfo, class SubscriptionInfoImpl>
    ORVA::Middleware::SmartPtr<CallbackInfo> subscribe(std::ostream& out, std::uint32_t verbosity);

    // Declared in order of creation, so that they are released in reverse: the records and
    // subscriptions first (the session holds its own handles to the subscriptions), then the
    // session, the execution and the run time.
    ORVA::Middleware::SmartPtr<ORVA::Middleware::Runtime> pRuntime_;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Execution> pExecution_;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Session> pSession_;
    ORVA::Middleware::SmartPtr<ORVA::Platform::BasicImpl::CallbackInfo> pPlatformInfo_;
    ORVA::Middleware::SmartPtr<ORVA::PlatformExtension::BasicImpl::CallbackInfo> pPlatformExtensionInfo_;
    ORVA::Middleware::SmartPtr<HALC::VKRsim::BasicImpl::CallbackInfo> pVKRsimInfo_;
    ORVA::Middleware::SmartPtr<HALC::SceneGenerator::BasicImpl::CallbackInfo> pSceneGeneratorInfo_;
    ORVA::Middleware::SmartPtr<HALC::ForceFeedback::BasicImpl::CallbackInfo> pForceFeedbackInfo_;
};

}  // namespace rangemon
