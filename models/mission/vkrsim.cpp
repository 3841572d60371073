// HALC::VKRsim: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/vkrsim.h"

#include "VKRsim.h"
#include "middleware/exceptions.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace HALC::VKRsim {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
namespace wire = ::ORVA::LocalClasses::wire;

template <class T>
const SmartPtr<T>& required(const SmartPtr<T>& handle, const char* attribute)
{
    if (handle.isNull())
        throw Middleware::InvalidAccess(std::string("HALC::VKRsim::PublicationStateUpdater::set_") + attribute +
                                        ": empty handle");
    return handle;
}

class Binding final : public Middleware::SDO::ClassBinding {
public:
    const char* className() const override { return "HALC::VKRsim"; }
    const dds_topic_descriptor* topicDescriptor() const override { return &HALC_VKRsim_IDL_VKRsim_desc; }

    std::shared_ptr<PublicationStateBase> initialState(const SDOid& id) const override
    {
        return std::make_shared<ImmutablePublicationState>(id, 1, Attributes());
    }

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_VKRsim_IDL_VKRsim*>(sample);
        Attributes a;
        a.fieldOfView = in.fieldOfView;
        a.zoomFactor = in.zoomFactor;
        a.terrainID = in.terrainID;
        a.viewFromX = in.viewFromX;
        a.viewFromY = in.viewFromY;
        a.viewFromZ = in.viewFromZ;
        a.viewToX = in.viewToX;
        a.viewToY = in.viewToY;
        a.viewToZ = in.viewToZ;
        a.viewPsi = in.viewPsi;
        a.viewTheta = in.viewTheta;
        a.viewPhi = in.viewPhi;
        a.VKRsimID = wire::from(in.VKRsimID);
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_VKRsim_IDL_VKRsim out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.fieldOfView = a.fieldOfView;
        out.zoomFactor = a.zoomFactor;
        out.terrainID = a.terrainID;
        out.viewFromX = a.viewFromX;
        out.viewFromY = a.viewFromY;
        out.viewFromZ = a.viewFromZ;
        out.viewToX = a.viewToX;
        out.viewToY = a.viewToY;
        out.viewToZ = a.viewToZ;
        out.viewPsi = a.viewPsi;
        out.viewTheta = a.viewTheta;
        out.viewPhi = a.viewPhi;
        out.VKRsimID = wire::to(*a.VKRsimID);
        use(&out);
    }

    std::shared_ptr<Middleware::SDO::ProxyBase> makeProxy(
        const SDOid& id, std::shared_ptr<PublicationStateBase> state) const override
    {
        return std::make_shared<Proxy>(id, std::move(state));
    }
};

}  // namespace

namespace {

// Local-class values are immutable, so every new object can share one zero value of each.
const SmartPtr<UniqueID::Interface>& zeroUniqueID()
{
    static const SmartPtr<UniqueID::Interface> value = UniqueID::Interface::create();
    return value;
}

}  // namespace

Attributes::Attributes()
    : VKRsimID(zeroUniqueID())
{
}

ImmutablePublicationState::ImmutablePublicationState(const SDOid& id, std::uint32_t version,
                                                     const Attributes& attributes)
    : PublicationStateBase(id, version), a_(attributes)
{
}

ImmutablePublicationState::~ImmutablePublicationState() = default;

void PublicationStateUpdater::set_VKRsimID(const SmartPtr<UniqueID::Interface>& v) { a_.VKRsimID = required(v, "VKRsimID"); }

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

}  // namespace HALC::VKRsim
