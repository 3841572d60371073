// HALC::SceneGenerator: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/scenegenerator.h"

#include "SceneGenerator.h"
#include "middleware/exceptions.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace HALC::SceneGenerator {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
namespace wire = ::ORVA::LocalClasses::wire;

template <class T>
const SmartPtr<T>& required(const SmartPtr<T>& handle, const char* attribute)
{
    if (handle.isNull())
        throw Middleware::InvalidAccess(std::string("HALC::SceneGenerator::PublicationStateUpdater::set_") + attribute +
                                        ": empty handle");
    return handle;
}

class Binding final : public Middleware::SDO::ClassBinding {
public:
    const char* className() const override { return "HALC::SceneGenerator"; }
    const dds_topic_descriptor* topicDescriptor() const override { return &HALC_SceneGenerator_IDL_SceneGenerator_desc; }

    std::shared_ptr<PublicationStateBase> initialState(const SDOid& id) const override
    {
        return std::make_shared<ImmutablePublicationState>(id, 1, Attributes());
    }

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_SceneGenerator_IDL_SceneGenerator*>(sample);
        Attributes a;
        a.sceneGeneratorID = wire::from(in.sceneGeneratorID);
        a.endPoint = in.endPoint ? in.endPoint : "";
        a.terrainDescription = in.terrainDescription ? in.terrainDescription : "";
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_SceneGenerator_IDL_SceneGenerator out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.sceneGeneratorID = wire::to(*a.sceneGeneratorID);
        out.endPoint = const_cast<char*>(a.endPoint.c_str());  // dds_write only reads it
        out.terrainDescription = const_cast<char*>(a.terrainDescription.c_str());  // dds_write only reads it
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
    : sceneGeneratorID(zeroUniqueID())
{
}

ImmutablePublicationState::ImmutablePublicationState(const SDOid& id, std::uint32_t version,
                                                     const Attributes& attributes)
    : PublicationStateBase(id, version), a_(attributes)
{
}

ImmutablePublicationState::~ImmutablePublicationState() = default;

void PublicationStateUpdater::set_sceneGeneratorID(const SmartPtr<UniqueID::Interface>& v) { a_.sceneGeneratorID = required(v, "sceneGeneratorID"); }

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

}  // namespace HALC::SceneGenerator
