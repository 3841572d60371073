// HALC::ForceFeedback: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/forcefeedback.h"

#include "ForceFeedback.h"

#include <memory>
#include <string>

namespace HALC::ForceFeedback {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;

class Binding final : public Middleware::SDO::ClassBinding {
public:
    const char* className() const override { return "HALC::ForceFeedback"; }
    const dds_topic_descriptor* topicDescriptor() const override { return &HALC_ForceFeedback_IDL_ForceFeedback_desc; }

    std::shared_ptr<PublicationStateBase> initialState(const SDOid& id) const override
    {
        return std::make_shared<ImmutablePublicationState>(id, 1, Attributes());
    }

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_ForceFeedback_IDL_ForceFeedback*>(sample);
        Attributes a;
        a.magnitude = in.magnitude;
        a.period = in.period;
        a.isActive = in.isActive;
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_ForceFeedback_IDL_ForceFeedback out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.magnitude = a.magnitude;
        out.period = a.period;
        out.isActive = a.isActive;
        use(&out);
    }

    std::shared_ptr<Middleware::SDO::ProxyBase> makeProxy(
        const SDOid& id, std::shared_ptr<PublicationStateBase> state) const override
    {
        return std::make_shared<Proxy>(id, std::move(state));
    }
};

}  // namespace

Attributes::Attributes()
{
}

ImmutablePublicationState::ImmutablePublicationState(const SDOid& id, std::uint32_t version,
                                                     const Attributes& attributes)
    : PublicationStateBase(id, version), a_(attributes)
{
}

ImmutablePublicationState::~ImmutablePublicationState() = default;


Proxy::~Proxy() = default;
Servant::~Servant() = default;
RemoteMethodsFactoryInterface::~RemoteMethodsFactoryInterface() = default;
PublicationInfo::~PublicationInfo() = default;

SubscriptionInfo::SubscriptionInfo(const SmartPtr<DiscoveryCallbackFactory>& discovery,
                                   const SmartPtr<StateChangeCallbackFactory>& stateChange,
                                   const SmartPtr<DestructionCallbackFactory>& destruction)
    : SubscriptionInfoT(ServantTraits::binding(), discovery, stateChange, destruction)
{
}

SubscriptionInfo::~SubscriptionInfo() = default;

const Middleware::SDO::ClassBinding& ServantTraits::binding()
{
    static const Binding instance;
    return instance;
}

}  // namespace HALC::ForceFeedback
