#pragma once
// Inner state of a session: its readers and their known objects, its writers, and the queue of
// events not yet delivered. Private to the middleware. Used from one thread at a time; the queue is
// filled and emptied only inside evoke(), so callbacks run on that caller's thread only.

#include "middleware/dds/entity_p.h"
#include "middleware/runtimestate_p.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace ORVA::Middleware::SDO {

class SessionState {
public:
    SessionState(std::shared_ptr<ExecutionState> execution, const std::string& name);
    ~SessionState();
    SessionState(const SessionState&) = delete;
    SessionState& operator=(const SessionState&) = delete;

    const std::string& name() const noexcept { return name_; }
    ExecutionState& execution() const noexcept { return *execution_; }

    void subscribe(const SmartPtr<SubscriptionInfoBase>& info);
    std::size_t evoke(unsigned long limitMicroseconds);

    // The session's writer of a class, made on first use.
    dds_entity_t writerFor(const ClassBinding& binding);
    SDOid newId() noexcept { return execution_->runtime().newId(); }

private:
    struct Subscription {
        SmartPtr<SubscriptionInfoBase> info;
        dds::Entity reader;
        // Objects this session has discovered and not yet seen destroyed, by DDS instance.
        std::unordered_map<dds_instance_handle_t, std::shared_ptr<ProxyBase>> known;
    };
    struct Event {
        EventKind kind;
        Subscription* subscription;
        std::shared_ptr<ProxyBase> proxy;
        std::shared_ptr<PublicationStateBase> state;  // null for a destruction
    };

    std::size_t collect();
    void collectFrom(Subscription& subscription);
    std::size_t runQueued();

    std::shared_ptr<ExecutionState> execution_;
    std::string name_;
    dds::Entity waitset_;
    std::map<std::string, std::unique_ptr<Subscription>> subscriptions_;  // by class name
    std::map<std::string, dds::Entity> writers_;                          // by class name
    std::set<dds_instance_handle_t> ownWriters_;
    std::deque<Event> queue_;
};

}  // namespace ORVA::Middleware::SDO
