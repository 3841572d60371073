#pragma once
// Inner state of a run time and of an execution. Private to the middleware.

#include "middleware/configuration.h"
#include "middleware/dds/entity_p.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdoid.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace ORVA::Middleware {

class RuntimeState {
public:
    explicit RuntimeState(const Configuration& configuration);
    ~RuntimeState();

    dds_entity_t participant() const noexcept { return participant_.get(); }
    int joinTimeoutMilliseconds() const noexcept { return joinTimeoutMs_; }
    // The topic of an object class in this participant, made on first use.
    dds_entity_t topicFor(const SDO::ClassBinding& binding);
    SDOid newId() noexcept;

private:
    dds::Entity domain_;  // only when this run time made the domain (unicast peers, extra config)
    dds::Entity participant_;
    std::map<std::string, dds::Entity> topics_;
    std::uint64_t origin_;
    std::atomic<std::uint64_t> serial_{0};
    int joinTimeoutMs_;
};

class ExecutionState {
public:
    ExecutionState(std::shared_ptr<RuntimeState> runtime, const std::string& name);

    const std::string& name() const noexcept { return name_; }
    RuntimeState& runtime() const noexcept { return *runtime_; }
    dds_entity_t publisher() const noexcept { return publisher_.get(); }
    dds_entity_t subscriber() const noexcept { return subscriber_.get(); }

    // Empty, or holding a partition pattern character: such a name would match other executions.
    static void checkName(const std::string& name);

private:
    std::shared_ptr<RuntimeState> runtime_;
    std::string name_;
    dds::Entity publisher_;
    dds::Entity subscriber_;
};

}  // namespace ORVA::Middleware
