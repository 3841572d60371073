#pragma once
// Object class HALC::ForceFeedback: a force-feedback effect: magnitude, period and whether it is active.

#include "middleware/callback.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdo/proxy.h"
#include "middleware/sdo/publicationinfo.h"
#include "middleware/sdo/publicationstate.h"
#include "middleware/sdo/servant.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"
#include "models/mission/export.h"

#include <cstdint>
#include <string>

namespace HALC::ForceFeedback {

namespace Middleware = ORVA::Middleware;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct HALC_MISSION_MODEL_EXPORT Attributes {
    Attributes();
    double magnitude = 0.0;
    double period = 0.0;
    bool isActive = false;
};

class HALC_MISSION_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_HALC_ForceFeedback_VersionCounter() const { return version(); }
    double get_magnitude() const { return a_.magnitude; }
    double get_period() const { return a_.period; }
    bool get_isActive() const { return a_.isActive; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class HALC_MISSION_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    double get_magnitude() const { return a_.magnitude; }
    double get_period() const { return a_.period; }
    bool get_isActive() const { return a_.isActive; }

    void set_magnitude(double v) { a_.magnitude = v; }
    void set_period(double v) { a_.period = v; }
    void set_isActive(bool v) { a_.isActive = v; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

class HALC_MISSION_MODEL_EXPORT Proxy : public Middleware::SDO::ProxyT<ImmutablePublicationState> {
public:
    using ProxyT::ProxyT;
    ~Proxy() override;
};

class HALC_MISSION_MODEL_EXPORT Servant
    : public Middleware::SDO::ServantT<ImmutablePublicationState, PublicationStateUpdater> {
public:
    using ServantT::ServantT;
    ~Servant() override;
};

// The class has no remote methods; the factory exists so that publication information can carry it.
class HALC_MISSION_MODEL_EXPORT RemoteMethodsFactoryInterface {
public:
    RemoteMethodsFactoryInterface() = default;
    virtual ~RemoteMethodsFactoryInterface();
};

class HALC_MISSION_MODEL_EXPORT PublicationInfo
    : public Middleware::SDO::PublicationInfoT<RemoteMethodsFactoryInterface> {
public:
    using PublicationInfoT::PublicationInfoT;
    ~PublicationInfo() override;
};

using ProxyHandle = ManagedPtr<Proxy>;
using DiscoveryCallbackFactory =
    Middleware::Callback::CallbackFactory<ProxyHandle, Middleware::Callback::DiscoveryTag>;
using StateChangeCallbackFactory =
    Middleware::Callback::CallbackFactory<ProxyHandle, Middleware::Callback::StateChangeTag>;
using DestructionCallbackFactory =
    Middleware::Callback::CallbackFactory<ProxyHandle, Middleware::Callback::DestructionTag>;

class HALC_MISSION_MODEL_EXPORT SubscriptionInfo : public Middleware::SDO::SubscriptionInfoT<Proxy> {
public:
    SubscriptionInfo(const SmartPtr<DiscoveryCallbackFactory>& discovery,
                     const SmartPtr<StateChangeCallbackFactory>& stateChange,
                     const SmartPtr<DestructionCallbackFactory>& destruction);
    ~SubscriptionInfo() override;
};

struct HALC_MISSION_MODEL_EXPORT ServantTraits {
    using Servant = ForceFeedback::Servant;
    using PublicationInfo = ForceFeedback::PublicationInfo;
    static const Middleware::SDO::ClassBinding& binding();
};

}  // namespace HALC::ForceFeedback
