#include "middleware/runtime.h"

#include "middleware/runtimestate_p.h"
#include "middleware/sdo/sessionstate_p.h"

namespace ORVA::Middleware {

Runtime::Runtime(std::shared_ptr<RuntimeState> state) noexcept : state_(std::move(state)) {}
Runtime::~Runtime() = default;

ManagedPtr<Execution> Runtime::enterExecution(const std::string& name)
{
    return ManagedPtr<Execution>(std::make_shared<Execution>(std::make_shared<ExecutionState>(state_, name)));
}

Execution::Execution(std::shared_ptr<ExecutionState> state) noexcept : state_(std::move(state)) {}
Execution::~Execution() = default;

const std::string& Execution::getName() const noexcept { return state_->name(); }

ManagedPtr<Session> Execution::openSession(const std::string& name)
{
    return ManagedPtr<Session>(std::make_shared<Session>(std::make_shared<SDO::SessionState>(state_, name)));
}

Session::Session(std::shared_ptr<SDO::SessionState> state) noexcept : state_(std::move(state)) {}
Session::~Session() = default;

const std::string& Session::getName() const noexcept { return state_->name(); }

void Session::subscribe(const SmartPtr<SDO::SubscriptionInfoBase>& info) { state_->subscribe(info); }

std::size_t Session::evokeMultipleCallbacks(unsigned long limitMicroseconds)
{
    return state_->evoke(limitMicroseconds);
}

SmartPtr<Runtime> init(const Configuration& configuration)
{
    return SmartPtr<Runtime>(std::make_shared<Runtime>(std::make_shared<RuntimeState>(configuration)));
}

}  // namespace ORVA::Middleware
