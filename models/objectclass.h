#pragma once
// What every object class of an object-model definition library has in common, written once.
//
// An object class lives in its own namespace (ORVA::Platform, HALC::VKRsim, ...) and declares there,
// by hand, what differs from class to class: Attributes, ImmutablePublicationState and
// PublicationStateUpdater. The rest is the same for every class and comes from two macros:
//
//   header, inside the class namespace, after PublicationStateUpdater:
//       ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA::Platform);
//   source, inside the class namespace, after the class's `Binding` (see BindingT below):
//       ORVA_OBJECT_CLASS_DEFINITIONS();
//
// The macros declare real classes (not aliases of templates), each exported with the library's
// macro and each with its out-of-line virtual destructor, so that every class has one vtable and
// one type_info in its library and its name, e.g. ORVA::Platform::Proxy, appears as such in
// diagnostics.

#include "middleware/callback.h"
#include "middleware/exceptions.h"
#include "middleware/managedptr.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdo/proxy.h"
#include "middleware/sdo/publicationinfo.h"
#include "middleware/sdo/publicationstate.h"
#include "middleware/sdo/servant.h"
#include "middleware/sdo/subscriptioninfo.h"
#include "middleware/smartptr.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

// Declares, in the current namespace, the classes an object class has beside its state:
//   Proxy, Servant                        typed over ImmutablePublicationState/PublicationStateUpdater
//   RemoteMethodsFactoryInterface         empty: no class has remote methods
//   PublicationInfo                       carries that factory
//   ProxyHandle and the three callback factory types
//   SubscriptionInfo                      the three callback factories of the class
//   ServantTraits                         what a servant factory needs: types and the class binding
// EXPORT is the library's export macro; QUALIFIED_NAME the namespace of the class, fully written
// (ORVA::Platform), which ServantTraits needs to name the enclosing Servant and PublicationInfo.
#define ORVA_OBJECT_CLASS_DECLARATIONS(EXPORT, QUALIFIED_NAME)                                        \
    class EXPORT Proxy : public ::ORVA::Middleware::SDO::ProxyT<ImmutablePublicationState> {          \
    public:                                                                                         \
        using ProxyT::ProxyT;                                                                       \
        ~Proxy() override;                                                                          \
    };                                                                                              \
                                                                                                    \
    class EXPORT Servant                                                                            \
        : public ::ORVA::Middleware::SDO::ServantT<ImmutablePublicationState, PublicationStateUpdater> { \
    public:                                                                                         \
        using ServantT::ServantT;                                                                   \
        ~Servant() override;                                                                        \
    };                                                                                              \
                                                                                                    \
    class EXPORT RemoteMethodsFactoryInterface {                                                    \
    public:                                                                                         \
        RemoteMethodsFactoryInterface() = default;                                                  \
        virtual ~RemoteMethodsFactoryInterface();                                                   \
    };                                                                                              \
                                                                                                    \
    class EXPORT PublicationInfo                                                                    \
        : public ::ORVA::Middleware::SDO::PublicationInfoT<RemoteMethodsFactoryInterface> {         \
    public:                                                                                         \
        using PublicationInfoT::PublicationInfoT;                                                   \
        ~PublicationInfo() override;                                                                \
    };                                                                                              \
                                                                                                    \
    using ProxyHandle = ::ORVA::Middleware::ManagedPtr<Proxy>;                                      \
    using DiscoveryCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<                 \
        ProxyHandle, ::ORVA::Middleware::Callback::DiscoveryTag>;                                   \
    using StateChangeCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<               \
        ProxyHandle, ::ORVA::Middleware::Callback::StateChangeTag>;                                 \
    using DestructionCallbackFactory = ::ORVA::Middleware::Callback::CallbackFactory<               \
        ProxyHandle, ::ORVA::Middleware::Callback::DestructionTag>;                                 \
                                                                                                    \
    class EXPORT SubscriptionInfo : public ::ORVA::Middleware::SDO::SubscriptionInfoT<Proxy> {      \
    public:                                                                                         \
        SubscriptionInfo(const ::ORVA::Middleware::SmartPtr<DiscoveryCallbackFactory>& discovery,   \
                         const ::ORVA::Middleware::SmartPtr<StateChangeCallbackFactory>& stateChange, \
                         const ::ORVA::Middleware::SmartPtr<DestructionCallbackFactory>& destruction); \
        ~SubscriptionInfo() override;                                                               \
    };                                                                                              \
                                                                                                    \
    struct EXPORT ServantTraits {                                                                   \
        using Servant = ::QUALIFIED_NAME::Servant;                                                  \
        using PublicationInfo = ::QUALIFIED_NAME::PublicationInfo;                                  \
        static const ::ORVA::Middleware::SDO::ClassBinding& binding();                              \
    }

// Defines, in the current namespace of a source file, the out-of-line members of the classes above
// and the two of ImmutablePublicationState (constructor, destructor). ServantTraits::binding() gives
// the one instance of the class `Binding`, which the source file defines before this macro.
#define ORVA_OBJECT_CLASS_DEFINITIONS()                                                             \
    ImmutablePublicationState::ImmutablePublicationState(                                           \
        const ::ORVA::Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes)   \
        : PublicationStateBase(id, version), a_(attributes)                                         \
    {                                                                                               \
    }                                                                                               \
    ImmutablePublicationState::~ImmutablePublicationState() = default;                              \
                                                                                                    \
    Proxy::~Proxy() = default;                                                                      \
    Servant::~Servant() = default;                                                                  \
    RemoteMethodsFactoryInterface::~RemoteMethodsFactoryInterface() = default;                      \
    PublicationInfo::~PublicationInfo() = default;                                                  \
                                                                                                    \
    SubscriptionInfo::SubscriptionInfo(                                                             \
        const ::ORVA::Middleware::SmartPtr<DiscoveryCallbackFactory>& discovery,                    \
        const ::ORVA::Middleware::SmartPtr<StateChangeCallbackFactory>& stateChange,                \
        const ::ORVA::Middleware::SmartPtr<DestructionCallbackFactory>& destruction)                \
        : SubscriptionInfoT(ServantTraits::binding(), discovery, stateChange, destruction)          \
    {                                                                                               \
    }                                                                                               \
    SubscriptionInfo::~SubscriptionInfo() = default;                                                \
                                                                                                    \
    const ::ORVA::Middleware::SDO::ClassBinding& ServantTraits::binding()                           \
    {                                                                                               \
        static const Binding instance;                                                              \
        return instance;                                                                            \
    }                                                                                               \
    static_assert(true, "a semicolon after the macro closes this")

namespace ORVA::ObjectModel {

// The class-independent half of a class binding: name, DDS type, initial state and proxy. A class's
// `Binding` derives from it and adds decode and encode, the conversions of its own C sample.
template <class Attributes, class State, class ProxyType>
class BindingT : public Middleware::SDO::ClassBinding {
public:
    // `className` ("ORVA::Platform") and `descriptor` (generated by idlc) live as long as the program.
    BindingT(const char* className, const dds_topic_descriptor* descriptor) noexcept
        : className_(className), descriptor_(descriptor)
    {
    }

    const char* className() const override { return className_; }
    const dds_topic_descriptor* topicDescriptor() const override { return descriptor_; }

    std::shared_ptr<Middleware::SDO::PublicationStateBase> initialState(const Middleware::SDOid& id) const override
    {
        return std::make_shared<State>(id, 1, Attributes());
    }

    std::shared_ptr<Middleware::SDO::ProxyBase> makeProxy(
        const Middleware::SDOid& id, std::shared_ptr<Middleware::SDO::PublicationStateBase> state) const override
    {
        return std::make_shared<ProxyType>(id, std::move(state));
    }

private:
    const char* className_;
    const dds_topic_descriptor* descriptor_;
};

// The value a new object's local-class attribute starts with: Interface::create() with no arguments.
// Local-class values are immutable, so all objects of a library share one of each.
template <class Interface>
const Middleware::SmartPtr<Interface>& zero()
{
    static const Middleware::SmartPtr<Interface> value = Interface::create();
    return value;
}

// A local-class attribute is never an empty handle: its setter raises InvalidAccess naming itself,
// e.g. "ORVA::Platform::PublicationStateUpdater::set_tspi: empty handle".
template <class T>
const Middleware::SmartPtr<T>& required(const Middleware::SmartPtr<T>& handle, const char* className,
                                        const char* attribute)
{
    if (handle.isNull())
        throw Middleware::InvalidAccess(std::string(className) + "::PublicationStateUpdater::set_" + attribute +
                                        ": empty handle");
    return handle;
}

}  // namespace ORVA::ObjectModel
