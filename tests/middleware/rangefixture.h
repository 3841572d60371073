#pragma once
// Shared pieces of the middleware tests: a private execution with its manager process, a joined
// session, and subscriptions that record every callback they get.

#include "support/liverange.h"
#include "middleware/middleware.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace rangetest {

using namespace std::chrono_literals;
using ORVA::Middleware::ManagedPtr;
using ORVA::Middleware::SmartPtr;
using namespace vkrsim::test;

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
