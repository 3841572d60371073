// A range application built only against an installed VKRsim: joins an execution, subscribes
// to Platform objects through the shipped basic-implementation family and lets it log at
// verbosity 3 until an object has been followed for a second.
//   platformwatch EXECUTION [INIT-REF]   exits 0 once seen, 1 when nothing came within 20 s

#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: platformwatch EXECUTION [INIT-REF]" << std::endl;
        return 2;
    }
    namespace MW = ORVA::Middleware;
    namespace Platform = ORVA::Platform::BasicImpl;
    const std::string execution = argv[1];
    const std::string initRef = argc > 2 ? argv[2] : "";
    try {
        const char* options[] = {"-ORBdefaultInitRef", initRef.c_str(), "-executionName", execution.c_str(),
                                 "-sessionName", "platformwatch", nullptr};
        int optionCount = 6;
        const MW::Configuration configuration(optionCount, options, "platformwatch", "");
        MW::SmartPtr<MW::Runtime> runtime = MW::init(configuration);
        MW::ManagedPtr<MW::Execution> joined = runtime->enterExecution(execution);
        MW::ManagedPtr<MW::Session> session = joined->openSession("platformwatch");
        const MW::SmartPtr<Platform::CallbackInfo> info(new Platform::CallbackInfo(std::cout, 3));
        session->subscribe(MW::SmartPtr<Platform::SubscriptionInfoImpl>(new Platform::SubscriptionInfoImpl(info)));

        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        std::optional<Clock::time_point> seen;
        while (Clock::now() < deadline && (!seen || Clock::now() - *seen < std::chrono::seconds(1))) {
            session->evokeMultipleCallbacks(10000);
            if (!seen && !info->getDiscoveredSDOlist().empty())
                seen = Clock::now();
        }
        return seen ? 0 : 1;
    } catch (const MW::Exception& e) {
        std::cerr << "platformwatch - " << e.what() << std::endl;
        return 1;
    }
}
