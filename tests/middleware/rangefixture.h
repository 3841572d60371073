#pragma once
// Shared pieces of the middleware tests: a private execution with its manager process, a joined
// session, and subscriptions that record every callback they get.

#include "support/childprocess.h"
#include "middleware/middleware.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace rangetest {

using namespace std::chrono_literals;
using ORVA::Middleware::ManagedPtr;
using ORVA::Middleware::SmartPtr;

// A name no other test (or test run) uses.
inline std::string uniqueExecutionName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    static int counter = 0;
    return std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(::getpid()) + "." +
           std::to_string(++counter);
}

inline std::unique_ptr<vkrsim::test::ChildProcess> startManager(const std::string& execution)
{
    return std::make_unique<vkrsim::test::ChildProcess>(std::vector<std::string>{
        vkrsim::test::builtProgram("orva-executionmanager"), "--execution", execution});
}

// Runs `argv` with standard output to a temporary file and waits until it wrote `word`.
struct Peer {
    std::string output;
    std::unique_ptr<vkrsim::test::ChildProcess> process;

    bool waitFor(const std::string& word, std::chrono::milliseconds timeout = 10s) const
    {
        return vkrsim::test::eventually(
            [&] { return vkrsim::test::readFile(output).find(word) != std::string::npos; }, timeout);
    }
};

inline Peer startPeer(std::vector<std::string> args)
{
    static int counter = 0;
    Peer peer;
    peer.output = ::testing::TempDir() + "peer." + std::to_string(::getpid()) + "." + std::to_string(++counter);
    args.insert(args.begin(), vkrsim::test::builtProgram("orva-test-peer"));
    peer.process = std::make_unique<vkrsim::test::ChildProcess>(args, peer.output);
    return peer;
}

// One run time, its execution and one session.
struct Member {
    SmartPtr<ORVA::Middleware::Runtime> runtime;
    ManagedPtr<ORVA::Middleware::Execution> execution;
    ManagedPtr<ORVA::Middleware::Session> session;

    static Member join(const std::string& execution, int joinTimeoutMs = 10000)
    {
        const std::string timeout = std::to_string(joinTimeoutMs);
        int argc = 2;
        const char* argv[] = {"-joinTimeout", timeout.c_str(), nullptr};
        Member m;
        m.runtime = ORVA::Middleware::init(ORVA::Middleware::Configuration(argc, argv, "test", ""));
        m.execution = m.runtime->enterExecution(execution);
        m.session = m.execution->openSession("test session");
        return m;
    }

    // Runs callbacks until `done` holds or `timeout` passes; returns `done()`.
    template <class Predicate>
    bool pumpUntil(Predicate done, std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done() && std::chrono::steady_clock::now() < deadline)
            session->evokeMultipleCallbacks(10000);
        return done();
    }
    void pumpFor(std::chrono::milliseconds period)
    {
        pumpUntil([] { return false; }, period);
    }
};

// Every callback of one class, in order of execution.
template <class Proxy>
struct Recorder {
    struct Event {
        char kind;  // 'd' discovery, 'c' state change, 'x' destruction
        ManagedPtr<Proxy> proxy;
        std::uint32_t version;
        std::thread::id thread;
        std::chrono::steady_clock::time_point when;
    };
    std::vector<Event> events;

    std::size_t count(char kind) const
    {
        std::size_t n = 0;
        for (const auto& e : events)
            n += e.kind == kind;
        return n;
    }
    std::string kinds() const
    {
        std::string s;
        for (const auto& e : events)
            s += e.kind;
        return s;
    }
};

template <class Proxy>
class RecordingCallback : public ORVA::Middleware::Callback::Callback {
public:
    RecordingCallback(std::shared_ptr<Recorder<Proxy>> recorder, char kind, const ManagedPtr<Proxy>& proxy)
        : recorder_(std::move(recorder)), kind_(kind), proxy_(proxy) {}
    void execute() override
    {
        recorder_->events.push_back({kind_, proxy_, proxy_->getPublicationState()->version(),
                                     std::this_thread::get_id(), std::chrono::steady_clock::now()});
    }

private:
    std::shared_ptr<Recorder<Proxy>> recorder_;
    char kind_;
    ManagedPtr<Proxy> proxy_;
};

template <class Proxy, class Tag>
class RecordingFactory : public virtual ORVA::Middleware::Callback::CallbackFactory<ManagedPtr<Proxy>, Tag> {
public:
    RecordingFactory(std::shared_ptr<Recorder<Proxy>> recorder, char kind) : recorder_(std::move(recorder)), kind_(kind) {}
    std::unique_ptr<ORVA::Middleware::Callback::Callback> create(const ManagedPtr<Proxy>& proxy) override
    {
        return std::make_unique<RecordingCallback<Proxy>>(recorder_, kind_, proxy);
    }

private:
    std::shared_ptr<Recorder<Proxy>> recorder_;
    char kind_;
};

// Subscription information of class namespace `Class` (e.g. ORVA::Platform) that records into `recorder`.
template <class SubscriptionInfo, class Proxy>
SmartPtr<SubscriptionInfo> recordingSubscription(const std::shared_ptr<Recorder<Proxy>>& recorder)
{
    namespace cb = ORVA::Middleware::Callback;
    using D = RecordingFactory<Proxy, cb::DiscoveryTag>;
    using S = RecordingFactory<Proxy, cb::StateChangeTag>;
    using X = RecordingFactory<Proxy, cb::DestructionTag>;
    return SmartPtr<SubscriptionInfo>(new SubscriptionInfo(SmartPtr<D>(new D(recorder, 'd')),
                                                           SmartPtr<S>(new S(recorder, 'c')),
                                                           SmartPtr<X>(new X(recorder, 'x'))));
}

}  // namespace rangetest
