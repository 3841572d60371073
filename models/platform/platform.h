#pragma once
// Object class ORVA::Platform: one vehicle or other platform on the range: identity, call sign, type, affiliation, damage and TSPI.

#include "middleware/callback.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdo/proxy.h"
#include "middleware/sdo/publicationinfo.h"
#include "middleware/sdo/publicationstate.h"
#include "middleware/sdo/servant.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"
#include "models/localclasses/affiliation.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/tspi.h"
#include "models/localclasses/time.h"
#include "models/localclasses/uniqueid.h"
#include "models/platform/export.h"

#include <cstdint>
#include <string>

namespace ORVA::Platform {

using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct ORVA_PLATFORM_MODEL_EXPORT Attributes {
    Attributes();
    SmartPtr<UniqueID::Interface> platformID;
    SmartPtr<Time::Interface> timeStamp;
    std::string callSign;
    std::string designator;
    SmartPtr<PlatformType::Interface> platformType;
    Affiliation::Enum affiliation = Affiliation::Unknown;
    std::int32_t damageState = 0;
    float damagePercent = 0.0f;
    SmartPtr<TSPI::Interface> tspi;
};

class ORVA_PLATFORM_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_ORVA_Platform_VersionCounter() const { return version(); }
    SmartPtr<UniqueID::Interface> get_platformID() const { return a_.platformID; }
    SmartPtr<Time::Interface> get_timeStamp() const { return a_.timeStamp; }
    std::string get_callSign() const { return a_.callSign; }
    std::string get_designator() const { return a_.designator; }
    SmartPtr<PlatformType::Interface> get_platformType() const { return a_.platformType; }
    Affiliation::Enum get_affiliation() const { return a_.affiliation; }
    std::int32_t get_damageState() const { return a_.damageState; }
    float get_damagePercent() const { return a_.damagePercent; }
    SmartPtr<TSPI::Interface> get_tspi() const { return a_.tspi; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class ORVA_PLATFORM_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    SmartPtr<UniqueID::Interface> get_platformID() const { return a_.platformID; }
    SmartPtr<Time::Interface> get_timeStamp() const { return a_.timeStamp; }
    std::string get_callSign() const { return a_.callSign; }
    std::string get_designator() const { return a_.designator; }
    SmartPtr<PlatformType::Interface> get_platformType() const { return a_.platformType; }
    Affiliation::Enum get_affiliation() const { return a_.affiliation; }
    std::int32_t get_damageState() const { return a_.damageState; }
    float get_damagePercent() const { return a_.damagePercent; }
    SmartPtr<TSPI::Interface> get_tspi() const { return a_.tspi; }

    // Local-class setters raise InvalidAccess for an empty handle: an object never carries one.
    void set_platformID(const SmartPtr<UniqueID::Interface>& v);
    void set_timeStamp(const SmartPtr<Time::Interface>& v);
    void set_callSign(const std::string& v) { a_.callSign = v; }
    void set_designator(const std::string& v) { a_.designator = v; }
    void set_platformType(const SmartPtr<PlatformType::Interface>& v);
    void set_affiliation(Affiliation::Enum v) { a_.affiliation = v; }
    void set_damageState(std::int32_t v) { a_.damageState = v; }
    void set_damagePercent(float v) { a_.damagePercent = v; }
    void set_tspi(const SmartPtr<TSPI::Interface>& v);

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

class ORVA_PLATFORM_MODEL_EXPORT Proxy : public Middleware::SDO::ProxyT<ImmutablePublicationState> {
public:
    using ProxyT::ProxyT;
    ~Proxy() override;
};

class ORVA_PLATFORM_MODEL_EXPORT Servant
    : public Middleware::SDO::ServantT<ImmutablePublicationState, PublicationStateUpdater> {
public:
    using ServantT::ServantT;
    ~Servant() override;
};

// The class has no remote methods; the factory exists so that publication information can carry it.
class ORVA_PLATFORM_MODEL_EXPORT RemoteMethodsFactoryInterface {
public:
    RemoteMethodsFactoryInterface() = default;
    virtual ~RemoteMethodsFactoryInterface();
};

class ORVA_PLATFORM_MODEL_EXPORT PublicationInfo
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

class ORVA_PLATFORM_MODEL_EXPORT SubscriptionInfo : public Middleware::SDO::SubscriptionInfoT<Proxy> {
public:
    SubscriptionInfo(const SmartPtr<DiscoveryCallbackFactory>& discovery,
                     const SmartPtr<StateChangeCallbackFactory>& stateChange,
                     const SmartPtr<DestructionCallbackFactory>& destruction);
    ~SubscriptionInfo() override;
};

struct ORVA_PLATFORM_MODEL_EXPORT ServantTraits {
    using Servant = Platform::Servant;
    using PublicationInfo = Platform::PublicationInfo;
    static const Middleware::SDO::ClassBinding& binding();
};

}  // namespace ORVA::Platform
