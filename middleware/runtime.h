#pragma once
// The run time (one DDS participant), the executions it joins (one DDS partition each) and the
// sessions opened in them. A run time and everything made from it is used from one thread at a
// time; callbacks run only inside Session::evokeMultipleCallbacks, on the caller's thread.

#include "middleware/configuration.h"
#include "middleware/export.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/servantfactory.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"

#include <cstddef>
#include <memory>
#include <string>

namespace ORVA::Middleware {

class Execution;
class Session;
class RuntimeState;
class ExecutionState;

class ORVA_MIDDLEWARE_EXPORT Runtime {
public:
    explicit Runtime(std::shared_ptr<RuntimeState> state) noexcept;
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Joins the execution `name`. Raises Exception when the name is empty or holds a pattern
    // character (* ? [ ] \), or when no execution manager announces it within the join timeout.
    ManagedPtr<Execution> enterExecution(const std::string& name);

private:
    std::shared_ptr<RuntimeState> state_;
};

class ORVA_MIDDLEWARE_EXPORT Execution {
public:
    explicit Execution(std::shared_ptr<ExecutionState> state) noexcept;
    ~Execution();
    Execution(const Execution&) = delete;
    Execution& operator=(const Execution&) = delete;

    const std::string& getName() const noexcept;
    // A new session with its own queue of pending callbacks. Raises Exception on failure.
    ManagedPtr<Session> openSession(const std::string& name);

private:
    std::shared_ptr<ExecutionState> state_;
};

class ORVA_MIDDLEWARE_EXPORT Session {
public:
    explicit Session(std::shared_ptr<SDO::SessionState> state) noexcept;
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& getName() const noexcept;

    // From now on discovery, state change and destruction of objects of the info's class are
    // queued for this session. A second subscription to the same class replaces the information.
    void subscribe(const SmartPtr<SDO::SubscriptionInfoBase>& info);

    // Runs the queued callbacks on the calling thread and returns as soon as it ran any; when none
    // is queued, waits up to `limitMicroseconds` for one. Returns the number of callbacks run. A
    // callback that raises leaves the call; the events after it stay queued.
    std::size_t evokeMultipleCallbacks(unsigned long limitMicroseconds);

    template <class Traits>
    ManagedPtr<SDO::ServantFactory<Traits>> makeServantFactory(
        const SmartPtr<typename Traits::PublicationInfo>& info)
    {
        return ManagedPtr<SDO::ServantFactory<Traits>>(
            std::make_shared<SDO::ServantFactory<Traits>>(state_, info));
    }

private:
    std::shared_ptr<SDO::SessionState> state_;
};

// Starts the run time: one DDS participant in the domain of the init reference. Raises Exception
// when the reference is malformed or the transport cannot start.
ORVA_MIDDLEWARE_EXPORT SmartPtr<Runtime> init(const Configuration& configuration);

}  // namespace ORVA::Middleware
