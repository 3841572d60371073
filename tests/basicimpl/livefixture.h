#pragma once
// Pieces of the tests that run against a live range: an execution manager for a private
// execution, the object publisher peer in another process, and in-process watchers (one run
// time, session and CallbackInfo each) that subscribe through a family's SubscriptionInfoImpl.

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace basicimpltest {

using namespace std::chrono_literals;

// A name no other test, or other run of the suite, uses.
inline std::string uniqueExecutionName()
{
    static int counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("basicimpl.") + test->name() + "." + std::to_string(::getpid()) + "." +
           std::to_string(++counter);
}

inline std::string tempFile(const std::string& stem)
{
    static int counter = 0;
    return ::testing::TempDir() + "basicimpl." + stem + "." + std::to_string(::getpid()) + "." +
           std::to_string(++counter);
}

// A program whose standard output goes to a file the test reads.
struct Peer {
    std::string output;
    std::unique_ptr<vkrsim::test::ChildProcess> process;

    std::string text() const { return vkrsim::test::readFile(output); }
    bool waitFor(const std::string& word, std::chrono::milliseconds timeout = 15s) const
    {
        return vkrsim::test::eventually([&] { return text().find(word) != std::string::npos; }, timeout);
    }
};

inline Peer startPeer(const std::string& program, std::vector<std::string> arguments)
{
    Peer peer;
    peer.output = tempFile(program);
    arguments.insert(arguments.begin(), vkrsim::test::builtProgram(program));
    peer.process = std::make_unique<vkrsim::test::ChildProcess>(arguments, peer.output);
    return peer;
}

inline Peer startManager(const std::string& execution)
{
    Peer manager = startPeer("orva-executionmanager", {"--execution", execution});
    manager.waitFor("announcing");
    return manager;
}

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
