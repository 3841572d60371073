#include "rangelink/sessionthread.h"

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"
#include "stateblock/stateblock.h"
#include "desktop/messagebox.h"
#include "middleware/middleware.h"
#include "rangeprogram/middlewareoptions.h"
#include "rangelink/configurationfile.h"
#include "rangelink/platformtracking.h"
#include "rangelink/vkrsimpublication.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

using ORVA::Middleware::ManagedPtr;
using ORVA::Middleware::SmartPtr;

using namespace rangelink;

namespace {

// The program loads both basic-implementation libraries although the dialog calls nothing in
// them directly: copy their link-forcing integers at static initialisation.
[[maybe_unused]] const std::int32_t platformLibraryLinked = basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked;
[[maybe_unused]] const std::int32_t missionLibraryLinked = basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked;

constexpr const char* kConfigurationFileName = "config.txt";
constexpr std::uint32_t kCallbackVerbosity = 3;         // full attribute dumps
constexpr unsigned long kCallbackLimitMicroseconds = 10000;

std::string describe(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown failure";
    }
}

// One session from joining to leaving. Locals are declared in order of creation, so that leaving
// the function releases them backwards: the VKRsim object is withdrawn first, the run time goes
// last.
void runSession()
{
    SmartPtr<ORVA::Middleware::Runtime> pORVAmiddlewareRuntime_;
    ManagedPtr<ORVA::Middleware::Execution> pExecution_;
    ManagedPtr<ORVA::Middleware::Session> pSession_;
    LtpFrameHandle pLTPSRF_;
    ConfigurationFile config_;
    SmartPtr<ORVA::Platform::BasicImpl::CallbackInfo> pCallbackInfo;
    SmartPtr<ORVA::Platform::BasicImpl::SubscriptionInfoImpl> pSubscriptionInfo;
    VKRsimPublication publication;  // pPublicationInfo, pServantFactory, pVKRsimServant

    try {
        config_.setFileName(kConfigurationFileName);
        config_.read();
        std::string sExecutionName = config_.getExecutionName();
        std::string sSessionName = config_.getSessionName();
        std::string sInitRef = config_.getInitRef();

        {
            rangeprogram::MiddlewareOptions options(sInitRef, sExecutionName, sSessionName);
            ORVA::Middleware::Configuration orvaMiddlewareConfiguration(options.argc(), options.argv(), std::string(),
                                                                        std::string());
            pORVAmiddlewareRuntime_ = ORVA::Middleware::init(orvaMiddlewareConfiguration);
        }
        pExecution_ = pORVAmiddlewareRuntime_->enterExecution(sExecutionName);
        pSession_ = pExecution_->openSession(sSessionName);
    } catch (...) {
        desktop::showMessageBox("Unable to join ORVA Execution", "Error!");
        return;
    }

    // Past joining every failure is caught as well: the operator is told what failed, what exists
    // is released in order (the VKRsim object withdrawn, the execution left), and Join can be
    // used again.
    try {
        pCallbackInfo = SmartPtr<ORVA::Platform::BasicImpl::CallbackInfo>(
            new ORVA::Platform::BasicImpl::CallbackInfo(std::cout, kCallbackVerbosity));
        pSubscriptionInfo = SmartPtr<ORVA::Platform::BasicImpl::SubscriptionInfoImpl>(
            new ORVA::Platform::BasicImpl::SubscriptionInfoImpl(pCallbackInfo));
        pSession_->subscribe(pSubscriptionInfo);

        pLTPSRF_ = setUpFrame(config_);
        createVKRsim(*pSession_, publication);

        do {
            pSession_->evokeMultipleCallbacks(kCallbackLimitMicroseconds);
            if (!pCallbackInfo->getDiscoveredSDOlist().empty())
                trackPlatforms(*pCallbackInfo, pLTPSRF_, publication.pVKRsimServant, std::cout);
        } while (!stateBlock.stopSession);
    } catch (...) {
        const std::string what = describe(std::current_exception());
        desktop::showMessageBox("ORVA session failed: " + what, "Error!", desktop::MessageIcon::Error);
    }

    // Release in the order of leaving: object, factory, publication and subscription
    // information, callback record, frame, session, execution, run time.
    publication.pVKRsimServant.reset();
    publication.pServantFactory.reset();
    publication.pPublicationInfo.reset();
    pSubscriptionInfo.reset();
    pCallbackInfo.reset();
    pLTPSRF_.reset();
    pSession_.reset();
    pExecution_.reset();
    pORVAmiddlewareRuntime_.reset();
}

}  // namespace

ACE_THR_FUNC_RETURN sessionThread(void*)
{
    desktop::showMessageBox("From Orva Subscriber", "");
    runSession();
    return 0;
}
