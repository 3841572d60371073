#pragma once
// Subscription information: the three callback factories of one object class. Each class's
// SubscriptionInfo derives from SubscriptionInfoT<its Proxy>.

#include "middleware/callback.h"
#include "middleware/export.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/smartptr.h"

#include <memory>

namespace ORVA::Middleware::SDO {

enum class EventKind { Discovery, StateChange, Destruction };

// What Session::subscribe takes.
class ORVA_MIDDLEWARE_EXPORT SubscriptionInfoBase {
public:
    explicit SubscriptionInfoBase(const ClassBinding& binding) noexcept : binding_(&binding) {}
    virtual ~SubscriptionInfoBase();

    const ClassBinding& binding() const noexcept { return *binding_; }
    // The callback for one event, or null when the factory of that kind is empty or isNull().
    virtual std::unique_ptr<Callback::Callback> createCallback(
        EventKind kind, const std::shared_ptr<ProxyBase>& proxy) = 0;

private:
    const ClassBinding* binding_;
};

template <class Proxy>
class SubscriptionInfoT : public SubscriptionInfoBase {
public:
    using ProxyHandle = ManagedPtr<Proxy>;
    using DiscoveryCallbackFactory = Callback::CallbackFactory<ProxyHandle, Callback::DiscoveryTag>;
    using StateChangeCallbackFactory = Callback::CallbackFactory<ProxyHandle, Callback::StateChangeTag>;
    using DestructionCallbackFactory = Callback::CallbackFactory<ProxyHandle, Callback::DestructionTag>;

    SubscriptionInfoT(const ClassBinding& binding,
                      const SmartPtr<DiscoveryCallbackFactory>& discovery,
                      const SmartPtr<StateChangeCallbackFactory>& stateChange,
                      const SmartPtr<DestructionCallbackFactory>& destruction)
        : SubscriptionInfoBase(binding),
          discovery_(discovery),
          stateChange_(stateChange),
          destruction_(destruction)
    {
    }
    ~SubscriptionInfoT() override = default;

    virtual SmartPtr<DiscoveryCallbackFactory> getDiscoveryCallbackFactory() const { return discovery_; }
    virtual void setDiscoveryCallbackFactory(const SmartPtr<DiscoveryCallbackFactory>& f) { discovery_ = f; }
    virtual SmartPtr<StateChangeCallbackFactory> getStateChangeCallbackFactory() const { return stateChange_; }
    virtual void setStateChangeCallbackFactory(const SmartPtr<StateChangeCallbackFactory>& f) { stateChange_ = f; }
    virtual SmartPtr<DestructionCallbackFactory> getDestructionCallbackFactory() const { return destruction_; }
    virtual void setDestructionCallbackFactory(const SmartPtr<DestructionCallbackFactory>& f) { destruction_ = f; }

    std::unique_ptr<Callback::Callback> createCallback(EventKind kind,
                                                       const std::shared_ptr<ProxyBase>& proxy) override
    {
        const ProxyHandle handle(std::static_pointer_cast<Proxy>(proxy));
        switch (kind) {
        case EventKind::Discovery: return make(discovery_, handle);
        case EventKind::StateChange: return make(stateChange_, handle);
        case EventKind::Destruction: return make(destruction_, handle);
        }
        return nullptr;
    }

private:
    template <class Factory>
    static std::unique_ptr<Callback::Callback> make(const SmartPtr<Factory>& factory, const ProxyHandle& proxy)
    {
        if (factory.isNull() || factory->isNull())
            return nullptr;
        return factory->create(proxy);
    }

    SmartPtr<DiscoveryCallbackFactory> discovery_;
    SmartPtr<StateChangeCallbackFactory> stateChange_;
    SmartPtr<DestructionCallbackFactory> destruction_;
};

}  // namespace ORVA::Middleware::SDO
