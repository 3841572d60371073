#pragma once
// Pieces of the tests that run against a live range: an execution manager for a private
// execution, the object publisher peer in another process, and in-process watchers (one run
// time, session and CallbackInfo each) that subscribe through a family's SubscriptionInfoImpl.

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"
#include "support/liverange.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace basicimpltest {

using namespace std::chrono_literals;
using namespace vkrsim::test;

// The publisher's objects, by the identity text it printed ("SDO ID <text>" lines).
inline std::vector<std::string> publishedIds(const Peer& publisher)
{
    std::vector<std::string> ids;
    std::istringstream in(publisher.text());
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("SDO ID ", 0) == 0)
            ids.push_back(line.substr(7));
    return ids;
}

// One member of the execution watching one class through its basic implementation.
template <class CallbackInfo, class SubscriptionInfoImpl>
struct Watcher {
    std::ostringstream out;
    ORVA::Middleware::SmartPtr<ORVA::Middleware::Runtime> runtime;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Execution> execution;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Session> session;
    ORVA::Middleware::SmartPtr<CallbackInfo> info;

    Watcher(const std::string& executionName, std::uint32_t verbosity)
    {
        int count = 2;
        const char* options[] = {"-joinTimeout", "10000", nullptr};
        runtime = ORVA::Middleware::init(ORVA::Middleware::Configuration(count, options, "basicimpl test", ""));
        execution = runtime->enterExecution(executionName);
        session = execution->openSession("watcher");
        info = ORVA::Middleware::SmartPtr<CallbackInfo>(new CallbackInfo(out, verbosity));
        session->subscribe(ORVA::Middleware::SmartPtr<SubscriptionInfoImpl>(new SubscriptionInfoImpl(info)));
    }
    ~Watcher()
    {
        // The session first, while the record it logs to still stands.
        session.reset();
        execution.reset();
        runtime.reset();
    }

    void pump() { session->evokeMultipleCallbacks(2000); }

    // Versions of the listed proxies' current states, in list order.
    std::vector<std::uint32_t> listedVersions()
    {
        std::vector<std::uint32_t> versions;
        for (const auto& proxy : info->getDiscoveredSDOlist())
            versions.push_back(proxy->getPublicationState()->version());
        return versions;
    }
};

// Runs the callbacks of every watcher until `done` holds or `timeout` passes.
template <class Watchers, class Predicate>
bool pumpUntil(Watchers& watchers, Predicate done, std::chrono::milliseconds timeout = 15s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
        for (auto& watcher : watchers)
            watcher->pump();
    }
    return true;
}

}  // namespace basicimpltest
