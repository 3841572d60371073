#include "middleware/sdo/servantcore.h"

#include "middleware/dds/entity_p.h"
#include "middleware/exceptions.h"
#include "middleware/sdo/sessionstate_p.h"

#include <string>

namespace ORVA::Middleware::SDO {

struct ServantCore::Impl {
    std::shared_ptr<SessionState> session;  // keeps the writer alive
    const ClassBinding* binding;
    dds_entity_t writer;
    SDOid id;
    std::shared_ptr<PublicationStateBase> state;
    CommunicationProperties communication;
    ConcurrencyProperties concurrency;
};

ServantCore::ServantCore(std::unique_ptr<Impl> impl) noexcept : impl_(std::move(impl)) {}

ServantCore::~ServantCore()
{
    // Withdraw: dispose tells subscribers the object is gone, unregister frees the instance so late
    // joiners see nothing of it.
    const ClassBinding& binding = *impl_->binding;
    const dds_entity_t writer = impl_->writer;
    try {
        binding.encode(*impl_->state, [writer](const void* sample) {
            dds_dispose(writer, sample);
            dds_unregister_instance(writer, sample);
        });
    } catch (...) {
        // Nothing to tell from a destructor; the owner's liveliness will lapse all the same.
    }
}

const SDOid& ServantCore::id() const noexcept { return impl_->id; }
std::shared_ptr<PublicationStateBase> ServantCore::state() const noexcept { return impl_->state; }
const CommunicationProperties& ServantCore::communicationProperties() const noexcept { return impl_->communication; }
const ConcurrencyProperties& ServantCore::concurrencyProperties() const noexcept { return impl_->concurrency; }

void ServantCore::publish(std::shared_ptr<PublicationStateBase> next)
{
    if (!next || next->sdoId() != impl_->id || next->version() != impl_->state->version() + 1)
        throw Exception("ServantCore::publish: state is not the next version of this object");
    const dds_entity_t writer = impl_->writer;
    impl_->binding->encode(*next, [writer](const void* sample) { dds::check(dds_write(writer, sample), "dds_write"); });
    impl_->state = std::move(next);
}

std::shared_ptr<ServantCore> createServantCore(const std::shared_ptr<SessionState>& session,
                                               const ClassBinding& binding,
                                               const CommunicationProperties& communication,
                                               const ConcurrencyProperties& concurrency)
{
    if (!session)
        throw InvalidAccess("createServant: the factory has no session");
    const SDOid id = session->newId();
    auto impl = std::unique_ptr<ServantCore::Impl>(new ServantCore::Impl{
        session, &binding, session->writerFor(binding), id, binding.initialState(id), communication, concurrency});
    const dds_entity_t writer = impl->writer;
    binding.encode(*impl->state, [writer](const void* sample) { dds::check(dds_write(writer, sample), "dds_write"); });
    return std::make_shared<ServantCore>(std::move(impl));
}

}  // namespace ORVA::Middleware::SDO
